#include "sheets/sheet_number.h"

int32_t NextNumber(int32_t number)
{
    return static_cast<int32_t>(static_cast<uint32_t>(number) + 1u);
}
