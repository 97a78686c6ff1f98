#include "chart/value_text.h"

#include <charconv>
#include <cmath>

namespace chart {
namespace {

std::u16string Number(double v, char16_t decimal) {
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 3);
    if (error != std::errc{}) return u"?";
    std::string text(buffer, end);
    const std::size_t point = text.find('.');
    if (point != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    if (text == "-0") text = "0";
    std::u16string out;
    for (char c : text) out += c == '.' ? decimal : static_cast<char16_t>(c);
    return out;
}

}  // namespace

std::u16string ChartValueText(const Axis& bottom, const Axis& left, int points, char16_t decimal) {
    const std::u16string count = Number(points, decimal);
    return u"x " + Number(bottom.Minimum, decimal) + u" to " + Number(bottom.Maximum, decimal) +
           u", y " + Number(left.Minimum, decimal) + u" to " + Number(left.Maximum, decimal) +
           u", " + count + (points == 1 ? u" point" : u" points");
}

}  // namespace chart
