#include "core/chart/value_text.h"

#include <charconv>

#include "core/base/number_format.h"

namespace chart {
namespace {

std::u16string Number(double v, char16_t decimal) {
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 3);
    if (error != std::errc{}) return u"?";
    const std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    // Infinities and NaN keep the C library's spelling.
    const std::optional<base::DecimalDigits> digits = base::SplitDecimal(text);
    if (!digits) return base::Widened(text);
    return base::DecimalText(*digits, {.Symbols = {.Decimal = decimal, .Grouping = u'\0'},
                                       .Negative = base::NegativeForm::Minus});
}

}  // namespace

std::u16string ChartValueText(const Axis& bottom, const Axis& left, int points, char16_t decimal) {
    const std::u16string count = Number(points, decimal);
    return u"x " + Number(bottom.Minimum, decimal) + u" to " + Number(bottom.Maximum, decimal) +
           u", y " + Number(left.Minimum, decimal) + u" to " + Number(left.Maximum, decimal) +
           u", " + count + (points == 1 ? u" point" : u" points");
}

}  // namespace chart
