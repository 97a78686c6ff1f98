// A PNG picture from the program's resources, stretched to the control's size without
// keeping its aspect; its transparent parts show the parent's background.
// OnClick fires on a left press and release over it, not for the second click of a
// double-click.
#pragma once

#include <functional>
#include <memory>

#include "win/ui/control.h"
#include "win/ui/memory_picture.h"

namespace Gdiplus {
class Bitmap;
}

namespace ui {

class Picture : public Control {
public:
    layout::ControlKind Kind() const noexcept override { return layout::ControlKind::Picture; }

    Picture();
    ~Picture() override;

    // Loads the picture from an RCDATA resource of the program's file.
    void LoadPngResource(int resourceId);

    std::function<void(Window& sender)> OnClick;

protected:
    void CreateWindowFor(HWND parent, const RECT& rect) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Render(int width, int height);

    std::unique_ptr<Gdiplus::Bitmap> image_;
    MemoryPicture rendered_;
    bool renderedValid_ = false;
    bool pressed_ = false;
};

}  // namespace ui
