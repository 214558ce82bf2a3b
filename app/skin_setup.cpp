#include "skin_setup.h"

#include "skin/core/skin_images.h"
#include "skin/core/window_skin.h"

namespace vostrel::app {

void SkinSetUp(HWND main, HWND groupBox) {
    skin::WindowSkin* s = skin::Skin;
    if (!s || !main) return;
    // No window is skinned yet, so nothing is repainted: the picture, black
    // back colour, blue theme and drawing mode 3 become the global settings.
    s->SetBackground(std::string(), skin::LoadSkinImage(skin::SkinImage::Background),
                     COLORREF{0}, COLORREF{0xFF0000}, 3);
    // Skin the controls with a fully transparent veil.
    s->SetControlOptions(1, 0);
    // Caption band 30 high with caption buttons and title, resizable, no
    // help or menu button, no gloss, no bottom bar; the global picture.
    skin::AttachOptions options;
    options.CaptionHeight = 30;
    options.HasCaption = 1;
    options.Resizable = 1;
    options.HelpButton = 0;
    options.MenuButton = 0;
    options.ShowTitle = 1;
    options.CaptionGloss = 0;
    s->AttachSkin(main, options);
    // The site buttons live in the group box, which the attach does not
    // reach: dressing the box skins them. Tint alpha 0 leaves the window's
    // background unchanged inside it.
    if (groupBox) s->SkinContainer(groupBox, 1, ::GetSysColor(COLOR_BTNFACE), 0, std::nullopt);
}

void SkinSetUp(form::Window& main) { SkinSetUp(main.Handle(), main.Handle(kSiteGroupBox)); }

}  // namespace vostrel::app
