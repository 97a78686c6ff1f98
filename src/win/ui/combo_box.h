// The platform's combo box with an edit field: a list of offered texts and any text
// typed. OnCommit fires when the user picks an item of the list (the field then shows it),
// and when the field loses the focus after its text was typed; Commit() fires it for a
// key the window gives the box (Enter). Setting the text from code raises nothing.
#pragma once

#include <functional>
#include <span>
#include <string>

#include "win/ui/control.h"

namespace ui {

class ComboBox : public Control {
public:
    layout::ControlKind Kind() const noexcept override { return layout::ControlKind::ComboBox; }

    // Replaces the list's items.
    void SetItems(std::span<const std::u16string> items);
    // The field's text now.
    std::u16string Text() const;
    void SetText(std::u16string_view text);
    // Whether the list is dropped down now.
    bool DroppedDown() const noexcept;
    // The field of the box, which holds the focus while the box has it.
    HWND Field() const noexcept;

    void Commit();
    std::function<void(Window& sender)> OnCommit;

    // The window's rectangle is the closed box's; the list's height is kept apart and
    // scaled with it.
    void ScaleBy(int newDpi, int oldDpi) override;

protected:
    void CreateWindowFor(HWND parent, const RECT& rect) override;
    std::optional<LRESULT> HandleReflected(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool typed_ = false;       // the field's text was edited since the last commit
    int droppedHeightPx_ = 0;  // the box with its list open
};

}  // namespace ui
