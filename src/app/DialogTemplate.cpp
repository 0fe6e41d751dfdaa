#include "app/DialogTemplate.h"

#include <array>
#include <cmath>

#include "app/WindowTexts.h"

namespace {

using K = ControlKind;

constexpr std::array kMainControls = {
    ControlTemplate{ids::TEXTURE_LIST, K::IconList, "", {7, 7, 341, 198}, true, true},
    ControlTemplate{ids::PREVIEW_LIST, K::IconListNoScroll, "", {387, 23, 64, 50}, true, true},
    ControlTemplate{ids::SIZE_COMBO, K::DropDownList, "", {387, 188, 64, 333}, true, true},
    ControlTemplate{ids::STATUS_TEXT, K::Label, "MG ROM Editor 1.1", {7, 211, 405, 9}, true, true},
    ControlTemplate{
        ids::REPLACEMENT_TEXT, K::Label, "Replacement Image", {379, 76, 72, 13}, true, true},
    ControlTemplate{ids::DESCRIPTION_TEXT, K::Label, "Description", {7, 222, 406, 10}, true, true},
    ControlTemplate{ids::FILTER_EDIT, K::Edit, "", {367, 111, 84, 12}, true, true},
    ControlTemplate{
        ids::UPDATE_FILTER, K::DefaultPushButton, "Update Filter", {368, 127, 83, 12}, true, true},
    ControlTemplate{ids::FORCED_SIZE_EDIT, K::Edit, "", {427, 151, 24, 13}, false, true},
    ControlTemplate{
        ids::FORCE_SIZE_CHECK, K::LeftTextCheckBox, "Force Size?", {361, 149, 53, 16}, false, true},
    ControlTemplate{ids::SWITCH_IMAGE_SIZE,
                    K::PushButton,
                    "Switch Image Size",
                    {425, 215, 15, 17},
                    false,
                    false},
    ControlTemplate{ids::OK, K::DefaultPushButton, "OK", {439, 216, 12, 16}, false, false},
    ControlTemplate{ids::STATIC, K::Label, "(HEX)", {430, 174, 18, 10}, true, true},
    ControlTemplate{ids::STATIC, K::RightLabel, "Replacement Texture", {374, 7, 77, 9}, true, true},
    ControlTemplate{ids::STATIC, K::RightLabel, "Image Size", {387, 175, 40, 9}, true, true},
    ControlTemplate{ids::STATIC, K::Label, "Description Filter:", {369, 100, 82, 9}, true, true},
};

constexpr std::array kAboutControls = {
    ControlTemplate{ids::STATIC, K::Icon, "", {11, 17, 20, 20}, true, true},
    ControlTemplate{
        ids::STATIC, K::Label, "Moonglass ROM Image Editor 1.1", {40, 10, 130, 8}, true, true},
    ControlTemplate{ids::STATIC, K::Label, "Dec 6, 2004", {40, 22, 130, 8}, true, true},
    ControlTemplate{ids::STATIC,
                    K::Label,
                    "Replaces the textures of the Moonglass cartridge ROM.",
                    {40, 38, 188, 18},
                    true,
                    true},
    ControlTemplate{ids::STATIC,
                    K::Label,
                    "Thanks to everyone who charted the game's textures.",
                    {40, 58, 188, 18},
                    true,
                    true},
    ControlTemplate{ids::OK, K::DefaultPushButton, "OK", {178, 89, 50, 14}, true, true},
};

constexpr DialogTemplate kMainTemplate{window_texts::PROGRAM_TITLE, 458, 238, kMainControls};
constexpr DialogTemplate kAboutTemplate{window_texts::ABOUT_CAPTION, 235, 110, kAboutControls};

}  // namespace

DialogRect DialogUnitsToPixels(const DialogRect& units) {
    auto horizontal = [](int value) { return static_cast<int>(std::lround(value * 1.5)); };
    auto vertical = [](int value) { return static_cast<int>(std::lround(value * 1.625)); };
    return {horizontal(units.x), vertical(units.y), horizontal(units.width),
            vertical(units.height)};
}

const DialogTemplate& MainDialogTemplate() {
    return kMainTemplate;
}

const DialogTemplate& AboutDialogTemplate() {
    return kAboutTemplate;
}
