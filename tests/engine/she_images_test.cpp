// Format 2: the picture keys of a skin file and what they may name.
#include <string>

#include <gtest/gtest.h>

#include "skin/she_file.h"

namespace skin {
namespace {

const std::string kColours =
    "name = pictures\n"
    "window = #FFFFFF\n"
    "window_text = #101010\n"
    "face = #E0E8F0\n"
    "face_text = #202020\n"
    "menu = #D0D8E0\n"
    "border = #405060\n";

bool Parse(const std::string& text, Skin* skin) {
  ParseError error;
  return ParseSkin(text, skin, &error);
}

// A format-2 file with one picture key.
std::string WithImage(const std::string& key, const std::string& value) {
  return "she = 2\n" + kColours + key + " = " + value + "\n";
}

TEST(SkinImagesTest, ReadsAPictureKey) {
  Skin skin;
  ASSERT_TRUE(Parse(WithImage("image_button", "Button-1.PNG, 5, 3 4 5 6, tile"), &skin));
  EXPECT_EQ(skin.version, 2);
  const auto& layout = skin.images[static_cast<size_t>(ImagePart::Button)];
  ASSERT_TRUE(layout.has_value());
  EXPECT_EQ(layout->file, "Button-1.PNG");
  EXPECT_EQ(layout->frames, 5);
  EXPECT_EQ(layout->left, 3);
  EXPECT_EQ(layout->top, 4);
  EXPECT_EQ(layout->right, 5);
  EXPECT_EQ(layout->bottom, 6);
  EXPECT_TRUE(layout->tile);
  for (size_t i = 0; i < kImagePartCount; i++) {
    if (i != static_cast<size_t>(ImagePart::Button)) EXPECT_FALSE(skin.images[i]) << i;
  }
}

TEST(SkinImagesTest, EveryPartHasItsKeyAndStretchIsTheDefault) {
  const char* keys[kImagePartCount] = {
      "image_caption",     "image_caption_close", "image_caption_max",    "image_caption_restore",
      "image_caption_min", "image_menubar",       "image_menu_highlight", "image_button",
      "image_check",       "image_radio",         "image_scroll_track",   "image_scroll_thumb"};
  for (size_t i = 0; i < kImagePartCount; i++) {
    Skin skin;
    ASSERT_TRUE(Parse(WithImage(keys[i], "a.png,1,0 0 0 0"), &skin)) << keys[i];
    ASSERT_TRUE(skin.images[i]) << keys[i];
    EXPECT_FALSE(skin.images[i]->tile);
  }
}

TEST(SkinImagesTest, AFormatTwoFileWithoutPicturesIsFine) {
  Skin skin;
  ASSERT_TRUE(Parse("she = 2\n" + kColours, &skin));
  EXPECT_EQ(skin.version, 2);
  for (const auto& image : skin.images) EXPECT_FALSE(image);
}

TEST(SkinImagesTest, VersionOneIgnoresPictureKeysEvenBadOnes) {
  Skin skin;
  ASSERT_TRUE(Parse("she = 1\n" + kColours + "image_button = ..\\x.png, 9\n", &skin));
  EXPECT_EQ(skin.version, 1);
  for (const auto& image : skin.images) EXPECT_FALSE(image);
  EXPECT_FALSE(Parse("she = 3\n" + kColours, &skin));
}

TEST(SkinImagesTest, AFileNameThatCouldLeaveTheFolderRefusesTheFile) {
  for (const char* name :
       {"..\\x.png", "C:x.png", "\\\\srv\\a.png", "a.png:s", "sub/a.png", "sub\\a.png", ".png",
        ".hidden.png", "a.bmp", "a.png.txt", "a b.png", "CON.png", "com1.png", "Lpt9.PNG",
        "nul.a.png", "\xE9.png", "", "a.png/", "C:\\a.png"}) {
    Skin skin = DefaultSkin();
    EXPECT_FALSE(Parse(WithImage("image_caption", std::string(name) + ", 1, 0 0 0 0"), &skin))
        << name;
    EXPECT_EQ(skin.name, DefaultSkin().name) << name;
  }
  EXPECT_TRUE(IsImageFileName(std::string(64 - 4, 'a') + ".png"));
  EXPECT_FALSE(IsImageFileName(std::string(65 - 4, 'a') + ".png"));
  EXPECT_TRUE(IsImageFileName("console.png"));
  EXPECT_TRUE(IsImageFileName("a..png"));
}

TEST(SkinImagesTest, FramesMarginsAndModeOutsideTheirRangesRefuseTheFile) {
  for (const char* value :
       {"a.png, 0, 0 0 0 0", "a.png, 9, 0 0 0 0", "a.png, -1, 0 0 0 0", "a.png, 1, 0 0 0 256",
        "a.png, 1, 0 0 0", "a.png, 1, 0 0 0 0 0", "a.png, 1, 0 0 0 x", "a.png, 1, 0 0 0 0, wrap",
        "a.png, 1, 0 0 0 0,", "a.png, 1, 0 0 0 0, tile, tile", "a.png, 1", "a.png",
        "a.png, , 0 0 0 0", "a.png, 1, -1 0 0 0"}) {
    Skin skin;
    EXPECT_FALSE(Parse(WithImage("image_scroll_thumb", value), &skin)) << value;
  }
  Skin skin;
  EXPECT_TRUE(Parse(WithImage("image_scroll_thumb", "a.png,8,255 255 255 255,TILE"), &skin));
}

TEST(SkinImagesTest, APictureKeyGivenTwiceIsRefused) {
  Skin skin;
  EXPECT_FALSE(
      Parse(WithImage("image_menubar", "a.png, 1, 0 0 0 0") + "Image_MenuBar = b.png, 1, 0 0 0 0\n",
            &skin));
}

TEST(SkinImagesTest, APictureFitsWhenFramesDivideItAndMarginsLeaveRoom) {
  ImageLayout layout;
  layout.frames = 3;
  layout.left = 4;
  layout.right = 5;
  layout.top = 2;
  layout.bottom = 3;
  EXPECT_TRUE(ImageFits(layout, 10, 18));   // frames of 6: 2 + 3 < 6, 4 + 5 < 10
  EXPECT_FALSE(ImageFits(layout, 10, 17));  // not a whole number of frames
  EXPECT_FALSE(ImageFits(layout, 9, 18));   // 4 + 5 leave no centre column
  EXPECT_FALSE(ImageFits(layout, 10, 15));  // frames of 5: 2 + 3 leave no centre row
  EXPECT_FALSE(ImageFits(layout, 0, 0));
}

}  // namespace
}  // namespace skin
