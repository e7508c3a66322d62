#include <gtest/gtest.h>
TEST(Reader, Builds) {}
