// Force-included into the pure C++ layers. Every Qt header defines or uses
// these identifiers, so including one there stops the build.
#pragma GCC poison QT_VERSION QT_BEGIN_NAMESPACE Q_OBJECT Q_DECL_EXPORT
