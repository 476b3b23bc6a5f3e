#include "expfile/laue_classes.hpp"

namespace vorlane::expfile {
namespace {

// The plane vectors h >= 0, k >= 0, l >= 0, h-k >= 0, k-l >= 0, h-l >= 0.
constexpr std::array<int, 4> H{1, 0, 0, 0};
constexpr std::array<int, 4> K{0, 1, 0, 0};
constexpr std::array<int, 4> L{0, 0, 1, 0};
constexpr std::array<int, 4> HK{1, -1, 0, 0};
constexpr std::array<int, 4> KL{0, 1, -1, 0};
constexpr std::array<int, 4> HL{1, 0, -1, 0};
constexpr std::array<int, 4> NONE{0, 0, 0, 0};

}  // namespace

const std::array<LaueClass, 12> LAUE_CLASSES{{
    {"-1   ", {}, 2, {L, NONE, NONE}},
    {"2/M  ", {"X,-Y,Z"}, 4, {H, K, NONE}},
    {"MMM  ", {"X,-Y,Z", "X,Y,-Z"}, 8, {H, K, L}},
    {"4/M  ", {"X,Y,-Z", "-Y,X,Z"}, 8, {H, K, L}},
    {"4/MMM", {"X,Y,-Z", "-Y,X,Z", "Y,X,Z"}, 16, {L, K, HK}},
    {"-3   ", {"-Y,X-Y,Z"}, 6, {H, K, NONE}},
    {"-3M1 ", {"-Y,X-Y,Z", "Y,X,-Z"}, 12, {H, K, L}},
    {"-31M ", {"Y,X,Z", "-Y,X-Y,Z"}, 12, {K, HK, NONE}},
    {"6/M  ", {"X,Y,-Z", "-Y,X-Y,Z"}, 12, {H, K, L}},
    {"6/MMM", {"X,Y,-Z", "-Y,X-Y,Z", "Y,X,-Z"}, 24, {HK, K, L}},
    {"M3   ", {"X,-Y,Z", "X,Y,-Z", "Z,X,Y"}, 24, {HL, KL, L}},
    {"M3M  ", {"X,-Y,Z", "X,Y,-Z", "Z,X,Y", "Y,X,-Z"}, 48, {L, KL, HK}},
}};

}  // namespace vorlane::expfile
