// Painting image views into a window's framebuffer: background first, then the
// views in the order they were made, each over the ones before it. Pictures with
// alpha are blended over what lies beneath.
#include <algorithm>

#include "platform/core.h"

namespace {

Rect intersect(Rect a, Rect b) {
    const int left = std::max(a.x, b.x);
    const int top = std::max(a.y, b.y);
    const int right = std::min(a.x + a.width, b.x + b.width);
    const int bottom = std::min(a.y + a.height, b.y + b.height);
    if (right <= left || bottom <= top) return {left, top, 0, 0};
    return {left, top, right - left, bottom - top};
}

uint8_t* framebuffer_at(WindowRecord& window, int x, int y) {
    return window.framebuffer.data() + (size_t(y) * window.width + x) * 3;
}

void fill_background(WindowRecord& window, Rect area) {
    const Colour face = backend_face_colour();
    for (int y = area.y; y < area.y + area.height; ++y) {
        uint8_t* out = framebuffer_at(window, area.x, y);
        for (int x = 0; x < area.width; ++x, out += 3) {
            out[0] = face.red;
            out[1] = face.green;
            out[2] = face.blue;
        }
    }
}

uint8_t blend(uint8_t source, uint8_t beneath, uint8_t alpha) {
    return uint8_t((source * alpha + beneath * (255 - alpha) + 127) / 255);
}

// Draws the part of a picture that falls in `area`, its top-left pixel at (x, y).
void draw_picture(WindowRecord& window, const Image& picture, int x, int y, Rect area) {
    const Rect drawn = intersect(area, {x, y, picture.width, picture.height});
    const int channels = channels_of(picture);
    for (int row = drawn.y; row < drawn.y + drawn.height; ++row) {
        const uint8_t* in = picture.pixels.data() +
                            (size_t(row - y) * picture.width + (drawn.x - x)) * channels;
        uint8_t* out = framebuffer_at(window, drawn.x, row);
        for (int column = 0; column < drawn.width; ++column, in += channels, out += 3) {
            const uint8_t alpha = channels == 4 ? in[3] : 255;
            for (int c = 0; c < 3; ++c) out[c] = blend(in[c], out[c], alpha);
        }
    }
}

}  // namespace

Rect clip_to_client(const WindowRecord& window, Rect area) {
    return intersect(area, {0, 0, window.width, window.height});
}

void draw_view(WindowRecord& window, const ViewRecord& view, Rect area) {
    if (view.kind != ViewKind::IMAGE || !view.picture) return;
    draw_picture(window, *view.picture, view.place.x, view.place.y,
                 clip_to_client(window, intersect(area, view.place)));
}

void repaint_area_except(WindowRecord& window, Rect area, int skipped_view) {
    area = clip_to_client(window, area);
    if (area.width == 0 || area.height == 0) return;
    fill_background(window, area);
    for (ViewRecord* view : views_of(window.number))
        if (view->number != skipped_view) draw_view(window, *view, area);
}

void repaint_area(WindowRecord& window, Rect area) {
    repaint_area_except(window, area, ANY_VIEW_NUMBER);
}

Rect bounding_rect(Rect a, Rect b) {
    if (a.width == 0 || a.height == 0) return b;
    if (b.width == 0 || b.height == 0) return a;
    const int left = std::min(a.x, b.x);
    const int top = std::min(a.y, b.y);
    const int right = std::max(a.x + a.width, b.x + b.width);
    const int bottom = std::max(a.y + a.height, b.y + b.height);
    return {left, top, right - left, bottom - top};
}
