#include "gears/rounded_math.h"

// GCC's libquadmath, on Linux and with MinGW alike.
extern "C" {
__float128 sinq(__float128);
__float128 cosq(__float128);
__float128 asinq(__float128);
__float128 acosq(__float128);
__float128 atanq(__float128);
__float128 powq(__float128, __float128);
__float128 log10q(__float128);
}

namespace kelvaro {

double roundedSin(double x) {
    return static_cast<double>(sinq(x));
}

double roundedCos(double x) {
    return static_cast<double>(cosq(x));
}

double roundedAsin(double x) {
    return static_cast<double>(asinq(x));
}

double roundedAcos(double x) {
    return static_cast<double>(acosq(x));
}

double roundedAtan(double x) {
    return static_cast<double>(atanq(x));
}

double roundedPow(double x, double y) {
    return static_cast<double>(powq(x, y));
}

double roundedLog10(double x) {
    return static_cast<double>(log10q(x));
}

} // namespace kelvaro
