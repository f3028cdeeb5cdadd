#include "platform/ui/Clipboard.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/LoadResPicture.h"
#include "ui_fixture.h"

#include <string>
#include <vector>

using ui::PictureKind;

TEST(Resources, ButtonFacesAreSmallOrLargeBitmapsByNumber) {
    for (int32_t id : {100, 101, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115, 116}) {
        const bool small = id == 100 || (id >= 103 && id % 2 == 1);
        auto picture = ui::LoadResPicture(id, ui::vbResBitmap);
        EXPECT_EQ(picture->kind(), PictureKind::Bitmap) << id;
        const int side = small ? 16 : 32;
        EXPECT_EQ((std::pair{picture->widthPx(), picture->heightPx()}), (std::pair{side, side})) << id;
        EXPECT_EQ(picture->name(), "bitmap " + std::to_string(id));
        EXPECT_EQ(picture->bytes()[28], 8) << "256 colours: 8 bits a pixel";
    }
    auto icon = ui::LoadResPicture(117, ui::vbResIcon);
    EXPECT_EQ(icon->kind(), PictureKind::Icon);
    EXPECT_EQ(icon->widthPx(), 32);
}

TEST(Resources, MissingIdentifiersRaise326) {
    for (auto [id, kind] : std::vector<std::pair<int32_t, int32_t>>{{102, 0}, {117, 0}, {100, 1}, {118, 0}, {100, 2}, {-1, 0}})
        EXPECT_EQ(errorNumberOf([&] { ui::LoadResPicture(id, kind); }), 326) << id << "/" << kind;
    EXPECT_EQ(errorNumberOf([] { ui::StoredPicture("NoSuchPicture"); }), 326);
}

TEST(Resources, StoredPicturesAreGifsOfTheirSize) {
    const std::vector<std::string> serverView = {"WKFolder",         "FilteredWKFolder",     "ConnectedConnection",
                                                 "DisconnectedConnection", "StoredProcedure", "DirtyStoredProcedure",
                                                 "UserFunction",     "DirtyUserFunction",    "NimbTable",
                                                 "Trigger",          "NimbView"};
    for (const auto& key : serverView) {
        auto picture = ui::StoredPicture(key);
        EXPECT_EQ(picture->kind(), PictureKind::Gif) << key;
        EXPECT_EQ((std::pair{picture->widthPx(), picture->heightPx()}), (std::pair{20, 20})) << key;
    }
    // The splash screen, the one more, is shown with its size in the scenarios.
    EXPECT_EQ(ui::StoredPicture("Splash")->kind(), PictureKind::Gif);
    EXPECT_EQ(ui::storedPictureNames().size(), serverView.size() + 1);
}

TEST(Resources, ImageListTakesItsSizeFromTheFirstPicture) {
    ui::ImageList images;
    images.ListImages().Add(0, "WKFolder", ui::StoredPicture("WKFolder"));
    images.ListImages().Add(0, "Face", ui::LoadResPicture(101, ui::vbResBitmap));
    EXPECT_EQ(images.ImageWidth(), 20);
    EXPECT_EQ(images.ImageHeight(), 20);
    EXPECT_EQ(images.ListImages().Item("Face")->Picture()->widthPx(), 32);
    EXPECT_EQ(images.ListImages().indexOf(*images.ListImages().Item("Face")), 2);
    EXPECT_EQ(errorNumberOf([&] { images.ListImages().Add(0, "WKFolder", ui::StoredPicture("Trigger")); }), 35602);
    EXPECT_EQ(errorNumberOf([&] { images.ListImages().Add(0, "None", nullptr); }), 481);
}

TEST(Resources, ClipboardKeepsTheLastPictureUntilCleared) {
    ui::Clipboard::SetData(ui::LoadResPicture(100, ui::vbResBitmap));
    ui::Clipboard::SetData(ui::LoadResPicture(103, ui::vbResBitmap));
    EXPECT_EQ(ui::Clipboard::GetData()->name(), "bitmap 103");
    ui::Clipboard::Clear();
    EXPECT_FALSE(ui::Clipboard::GetData());
}
