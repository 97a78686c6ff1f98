#include "core/layout/accessible_name.h"

#include <stdexcept>

namespace layout {
namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\u00A0' || c < u' ';
}

std::u16string_view Trimmed(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

std::u16string AccessibleNameOf(const ControlDesc& row, std::span<const ControlDesc> rows) {
    const AccessibleNameDesc& a = row.Accessible;
    if (a.LabelledBy.empty()) return std::u16string(a.Name);
    if (!a.Name.empty()) {
        throw std::logic_error(std::string(row.Name) + " has a label and a name of its own");
    }
    for (const ControlDesc& label : rows) {
        if (label.Name == a.LabelledBy && label.Kind == ControlKind::Label) {
            return std::u16string(Trimmed(label.Text));
        }
    }
    throw std::logic_error(std::string(row.Name) + " names no label of the layout");
}

}  // namespace layout
