#include "win/ui/buffered_paint.h"

#include "win/ui/handles.h"

namespace ui {

void DrawBuffered(HDC target, const RECT& area, const RECT& client, MemoryPicture& buffer,
                  const DrawClient& draw) {
    if (!buffer.Ensure(client.right - client.left, client.bottom - client.top)) {
        draw(target, client);
        return;
    }
    draw(buffer.Dc(), client);
    buffer.CopyTo(target, area);
}

void PaintBuffered(HWND hwnd, MemoryPicture* buffer, const DrawClient& draw) {
    PaintScope paint(hwnd);
    RECT client{};
    GetClientRect(hwnd, &client);
    if (buffer) {
        DrawBuffered(paint.Dc(), paint.Area(), client, *buffer, draw);
    } else {
        draw(paint.Dc(), client);
    }
}

void PaintFrom(HWND hwnd, const MemoryPicture& picture) {
    PaintScope paint(hwnd);
    picture.CopyTo(paint.Dc(), paint.Area());
}

}  // namespace ui
