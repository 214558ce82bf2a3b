// Image buttons and image-and-text buttons: faces drawn from the pictures the
// application gives, in the normal, hover, pressed and disabled looks, and
// the two operations that turn a button of a skinned window into one.
#include "skin/controls/image_button.h"

#include <memory>
#include <string>

#include "gdiplus/gdip.h"
#include "skin/controls/backdrop_surface.h"
#include "skin/controls/child_controls.h"
#include "skin/core/primitives.h"

namespace vostrel::skin {

namespace {

// ODS_HOTLIGHT: the skin sets it itself for the hover look.
constexpr UINT kHover = 0x40;

// Members of ButtonRecord::Images.
enum ImageSlot : int { kNormal = 0, kHoverImage = 1, kPressedImage = 2, kDisabledImage = 4 };

// The tool of an image button's tool tip.
constexpr UINT_PTR kToolId = 1;

gp::ARGB Argb(COLORREF colour, int alpha) { return ArgbFromColorRef(colour, alpha, true); }

ButtonRecord* FindButtonRecord(HWND control) {
    return FindRegisteredControl<ButtonRecord>(control, &WindowRecord::Buttons);
}

// A picture decoded from its bytes for one drawing; empty bytes, or bytes
// that are not a picture, give no image (Native() is null).
struct Picture {
    explicit Picture(const Bytes& bytes) {
        if (!bytes.empty() && !image.LoadFromBytes(bytes)) image.Dispose();
    }
    bool Present() const { return !image.IsEmpty(); }
    float Width() const { return Present() ? static_cast<float>(image.GetWidth()) : 0.0f; }
    float Height() const { return Present() ? static_cast<float>(image.GetHeight()) : 0.0f; }
    void Draw(GdipGraphics& graphics, float x, float y, float w, float h) const {
        if (Present() && w > 0 && h > 0) graphics.DrawImageRectRect(image, x, y, w, h);
    }
    // At its natural size in pixels (not in the resolution it was saved with).
    void DrawNatural(GdipGraphics& graphics, float x, float y) const {
        Draw(graphics, x, y, Width(), Height());
    }
    GdipImage image;
};

bool RoundRect(GdipPath& path, float x, float y, float w, float h, int corner) {
    if (!path.Create()) return false;
    AddRoundRectPath(path, x, y, w, h, corner);
    return true;
}

// The frame of an image button drawn around its normal picture when the
// state has no picture of its own.
void DrawStateFrame(GdipGraphics& graphics, float size, float iw, float ih, int corner,
                    gp::ARGB outline, gp::ARGB top, gp::ARGB bottom) {
    GdipPath frame;
    if (!RoundRect(frame, 0, 0, iw + size, ih + size, corner)) return;
    OutlinePath(graphics, frame, outline);
    FillPathGradient(graphics, frame, 0, 0, 0, ih + size, top, bottom);
}

// The common frame of both faces: a backdrop of the rectangle's size, drawn
// on by `draw`, then copied to the target. A face drawn before from the same
// look, size, text, colours and backdrop is copied from the record's cache
// instead: decoding the pictures costs more than all the rest.
template <typename F>
void DrawOnBackdrop(HWND control, ButtonRecord& record, HDC target, UINT state, const RECT& rect,
                    F&& draw) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0 || !target) return;
    HDC back = CreateBackdropDC(control, rect);
    if (!back) return;
    const bool cacheable = rect.left == 0 && rect.top == 0;
    FaceKey key;
    if (cacheable) {
        key = {state & (ODS_SELECTED | ODS_DISABLED | ODS_FOCUS | kHover), w, h,
               BackdropHash(back), ThemeColour,
               static_cast<COLORREF>(GetPropValue(control, kPropTextColour)), record.Text,
               record.FaceName, record.FontSize, record.FontStyle};
        if (record.Faces.Draw(key, target)) {
            ReleaseBackdropDC(back);
            return;
        }
    }
    {
        BackdropSurface surface(back);
        draw(surface.Graphics());
    }
    if (cacheable) record.Faces.Store(key, back);
    dll::BitBlt(target, 0, 0, w, h, back, 0, 0, SRCCOPY);
    ReleaseBackdropDC(back);
}

// Turns a button of a skinned window into an image kind: finds or makes its
// record, subclasses a button that was not registered, gives the tool tip.
// nullptr when the handle is no button of a skinned window.
ButtonRecord* TakeImageButton(HWND button, int kind, const std::string& toolTip) {
    if (!button || !::IsWindow(button)) return nullptr;
    if (lstrcmpiA(GetClassNameText(button).c_str(), "Button") != 0) return nullptr;
    const int n = FindSkinnedAncestor(button);
    WindowRecord* window = RecordOf(n);
    if (!window) return nullptr;
    int position = window->Buttons.Find(button);
    ButtonRecord* record = window->Buttons.Get<ButtonRecord>(position);
    if (!record) {
        auto made = std::make_unique<ButtonRecord>();
        record = made.get();
        position = window->Buttons.Choose(std::move(made));
        // Every registered control keeps its previous procedure in
        // "Hw_hProc": ButtonProc passes the messages it does not consume on
        // through it.
        RegisterControl(n, position, *record, button, ButtonProc);
        ControlFont font = ReadControlFont(button);
        record->FaceName = font.FaceName.empty() ? std::string("宋体") : font.FaceName;
        record->FontSize = font.Size == 0 ? 12 : font.Size;
        record->FontStyle = font.Style;
    }
    record->Kind = kind;
    record->Text = ControlWindowText(button);
    // Faces drawn before came from another kind or other pictures.
    record->Faces.Clear();
    if (!toolTip.empty()) {
        if (record->Tooltip.Window()) {
            record->Tooltip.SetToolText(kToolId, toolTip);
        } else if (record->Tooltip.Create(button)) {
            RECT client{};
            dll::GetClientRect(button, &client);
            // The button relays its mouse messages itself (ButtonProc): a
            // procedure laid over the skin's would outlive the teardown.
            record->Tooltip.AddTool(client, toolTip, kToolId, false);
        }
    }
    // Owner-drawn from now on, whatever button type it was: the parent's skin
    // draws the face.
    const LONG style = dll::GetWindowLongA(button, GWL_STYLE);
    dll::SetWindowLongA(button, GWL_STYLE, (style & ~static_cast<LONG>(BS_TYPEMASK)) | BS_OWNERDRAW);
    dll::InvalidateRect(button, nullptr, TRUE);
    return record;
}

}  // namespace

// ---------------------------------------------------------------------------

int WindowSkin::MakeImageTextButton(HWND button, const Bytes& picture, int imageLayout,
                                    const std::string& toolTip) {
    ButtonRecord* record = TakeImageButton(button, kImageTextButton, toolTip);
    if (!record) return 0;
    record->Images[kNormal] = picture;
    record->ImageLayout = imageLayout;
    return 1;
}

int WindowSkin::MakeImageButton(HWND button, const Bytes& normal, const Bytes& hover,
                                const Bytes& pressed, const Bytes& disabled,
                                const std::string& toolTip) {
    ButtonRecord* record = TakeImageButton(button, kImageButton, toolTip);
    if (!record) return 0;
    record->Images[kNormal] = normal;
    record->Images[kHoverImage] = hover;
    record->Images[kPressedImage] = pressed;
    record->Images[kDisabledImage] = disabled;
    return 1;
}

// ---------------------------------------------------------------------------

void DrawImageButtonFace(HWND control, HDC target, UINT state, const RECT& rect) {
    ButtonRecord* record = FindButtonRecord(control);
    if (!record) return;
    // The picture of the state, when the record has one, is all the face.
    // Pictures are decoded only when drawn: decoding costs more than the
    // rest of the face.
    int own = -1;
    if (state & ODS_DISABLED)
        own = kDisabledImage;
    else if (state & kHover)
        own = kHoverImage;
    else if (state & ODS_SELECTED)
        own = kPressedImage;
    DrawOnBackdrop(control, *record, target, state, rect, [&](GdipGraphics& graphics) {
        if (own >= 0 && !record->Images[own].empty()) {
            const Picture picture(record->Images[own]);
            if (picture.Present()) {
                picture.DrawNatural(graphics, 2, 2);
                return;
            }
        }
        const Picture normal(record->Images[kNormal]);
        const float iw = normal.Width(), ih = normal.Height();
        switch (own) {
            case kDisabledImage: {
                GdipPath frame;
                if (RoundRect(frame, 0, 0, iw + 2, ih + 2, 5)) {
                    OutlinePath(graphics, frame, Argb(0x000000, 80));
                    FillPathGradient(graphics, frame, 0, 0, 0, ih + 2, Argb(0xFFFFFF, 60),
                                 Argb(0x000000, 100));
                }
                break;
            }
            case kHoverImage:
                DrawStateFrame(graphics, 3, iw, ih, 3, Argb(ThemeColour, 250),
                               Argb(0xFFFFFF, 120), Argb(ThemeColour, 100));
                break;
            case kPressedImage:
                DrawStateFrame(graphics, 3, iw, ih, 3, Argb(ThemeColour, 250), Argb(0x000000, 60),
                               Argb(0xFFFFFF, 100));
                break;
            default: break;
        }
        normal.Draw(graphics, 2, 2, iw, ih);
    });
}

void DrawImageTextButtonFace(HWND control, HDC target, UINT state, const RECT& rect) {
    ButtonRecord* record = FindButtonRecord(control);
    if (!record) return;
    RECT client{};
    dll::GetClientRect(control, &client);
    const float cw = static_cast<float>(client.right), ch = static_cast<float>(client.bottom);
    DrawOnBackdrop(control, *record, target, state, rect, [&](GdipGraphics& graphics) {
        const float x = static_cast<float>(rect.left), y = static_cast<float>(rect.top);
        const float w = static_cast<float>(rect.right - rect.left);
        const float h = static_cast<float>(rect.bottom - rect.top);
        if (state & ODS_DISABLED) {
            GdipPath shade;
            if (RoundRect(shade, x + 2, y + 2, w - 6, h - 6, 5))
                FillPathGradient(graphics, shade, 1, 1, 1, h, Argb(0x808080, 50), Argb(0xFFFFFF, 0));
        } else {
            if (state & kHover) {
                GdipPath light;
                if (RoundRect(light, x + 2, y + 1, w - 5, h - 4, 2))
                    FillPathGradient(graphics, light, x + 1, y + 1, x + 1, y + h - 4,
                                 Argb(0xFFFFFF, 50), Argb(0xFFFFFF, 40));
                // A bright line along the bottom, strongest in the middle.
                GdipLinearGradientBrush lineBrush;
                if (lineBrush.Create(gp::PointF(x + 1, y + 1), gp::PointF(w - 1, y + 1),
                                     Argb(0xFFFFFF, 10), Argb(0xFFFFFF, 255))) {
                    lineBrush.SetLinearBlend(0.5f, 0.8f);
                    GdipPen pen;
                    if (pen.CreateFromBrush(lineBrush, 2.0f))
                        graphics.DrawLine(pen, x + 1, h - 4, w - 1, h - 4);
                }
            }
            if (state & (ODS_FOCUS | kHover)) {
                GdipPath glass, dark, light;
                if (RoundRect(glass, x + 2, y + 2, w - 5, h - 5, 2))
                    FillPathGradient(graphics, glass, 2, 3, 2, h, Argb(0xFFFFFF, 60),
                                 Argb(0xFFFFFF, 50));
                if (RoundRect(dark, x, y, w - 2, h - 2, 5))
                    OutlinePath(graphics, dark, Argb(0x000000, 60));
                if (RoundRect(light, x + 1, y + 1, w - 4, h - 4, 5))
                    OutlinePath(graphics, light, Argb(0xFFFFFF, 120));
            }
        }
        // Content: the picture and the text.
        const Picture picture(record->Images[kNormal]);
        GdipSolidBrush ink;
        ink.Create(Argb(static_cast<COLORREF>(GetPropValue(control, kPropTextColour)), 255));
        GdipFont font;
        const bool hasFont = font.CreateFromName(
            record->FaceName, static_cast<float>(record->FontSize), record->FontStyle,
            gp::UnitPixel);
        GdipStringFormat format;
        format.Create();
        format.SetAlignment(gp::StringAlignmentCenter);
        auto text = [&](float left, float top, float width, float height) {
            if (hasFont && !record->Text.empty() && width > 0 && height > 0)
                graphics.DrawString(record->Text, font, ink, gp::RectF(left, top, width, height),
                                    &format);
        };
        if (record->ImageLayout == 1 && picture.Present()) {
            format.SetAlignment(gp::StringAlignmentNear);
            format.SetLineAlignment(gp::StringAlignmentCenter);
            const float side = static_cast<float>(static_cast<int>(0.8 * ch));
            if (record->Text.empty())
                picture.Draw(graphics, (w - side) / 2, (h - side) / 2, side, side);
            else
                picture.Draw(graphics, 3, (h - side) / 2, side, side);
            text(side + 5, 2, cw - side - 7, ch);
        } else if (record->ImageLayout == 1) {
            format.SetLineAlignment(gp::StringAlignmentCenter);
            text(0, 0, w, h);
        } else {
            const double room = h - record->FontSize - 2;
            const float side = room > 0 ? static_cast<float>(static_cast<int>(0.8 * room)) : 0.0f;
            picture.Draw(graphics, (w - side) / 2, 0.05f * h, side, side);
            format.SetTrimming(gp::StringTrimmingEllipsisCharacter);
            text(0, side + 0.05f * h + 2, w, h - side);
        }
    });
}

}  // namespace vostrel::skin
