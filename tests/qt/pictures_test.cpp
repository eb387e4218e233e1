// Decoding and fitting of the pictures the controls show.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include "qt/qt_app.h"
#include "ui/picture_names.h"
#include "ui/qt/picture.h"

namespace {

using ui::qt::Fit;
using ui::qt::FitRect;

TEST(Pictures, FittingFollowsEachControlsRule) {
  // The 64 x 64 marks in the 48 x 48 mark box are drawn at 48 x 48.
  EXPECT_EQ(FitRect({64, 64}, {48, 48}, Fit::kCentreScaleDown), QRect(0, 0, 48, 48));
  // A smaller picture sits centred at its natural size.
  EXPECT_EQ(FitRect({20, 10}, {48, 48}, Fit::kCentreScaleDown), QRect(14, 19, 20, 10));
  // Too wide: scaled down with its proportions kept, centred vertically.
  EXPECT_EQ(FitRect({96, 24}, {48, 48}, Fit::kCentreScaleDown), QRect(0, 18, 48, 12));
  // The question picture fills its frame whatever its proportions.
  EXPECT_EQ(FitRect({400, 200}, {176, 185}, Fit::kStretch), QRect(0, 0, 176, 185));
  EXPECT_EQ(FitRect({800, 600}, {800, 600}, Fit::kTopLeft), QRect(0, 0, 800, 600));
}

TEST(Pictures, CarriedArtworkDecodesAtItsSize) {
  qt_testing::App();
  struct Expected {
    std::string_view name;
    int width, height;
  };
  for (const Expected& e :
       {Expected{ui::pictures::kMainPanel, 800, 600},
        Expected{ui::pictures::kScoreWindow, 400, 301}, Expected{ui::pictures::kSpinner, 94, 27},
        Expected{ui::pictures::kRightMark, 64, 64},
        Expected{ui::pictures::kPlaceholder, 390, 300}}) {
    const QImage image = ui::qt::DecodePicture(ui::qt::ArtworkBytes(e.name));
    ASSERT_FALSE(image.isNull()) << e.name;
    EXPECT_EQ(image.size(), QSize(e.width, e.height)) << e.name;
  }
  EXPECT_TRUE(ui::qt::ArtworkBytes("no_such_picture.gif").isEmpty());
}

TEST(Pictures, DamagedOrHugePicturesShowNothing) {
  qt_testing::App();
  EXPECT_TRUE(ui::qt::DecodePicture(QByteArray()).isNull());
  EXPECT_TRUE(ui::qt::DecodePicture(QByteArray("not a picture at all")).isNull());
  // A GIF header that claims 60000 x 60000 pixels: refused before any pixel is allocated.
  QByteArray huge("GIF89a", 6);
  huge.append(char(0x60)).append(char(0xEA)).append(char(0x60)).append(char(0xEA));
  huge.append(char(0)).append(char(0)).append(char(0));
  EXPECT_TRUE(ui::qt::DecodePicture(huge).isNull());
  // A real picture cut in half still gives no crash (Qt may show what it could read).
  const QByteArray panel = ui::qt::ArtworkBytes(ui::pictures::kMainPanel);
  (void)ui::qt::DecodePicture(panel.left(panel.size() / 2));
}

TEST(Pictures, TheSpinnerPlaysOnlyWhileShown) {
  qt_testing::App();
  QWidget parent;
  ui::qt::PictureView view(Fit::kCentreScaleDown, &parent);
  view.SetPicture(ui::qt::ArtworkBytes(ui::pictures::kSpinner));
  EXPECT_TRUE(view.animated());
  ui::qt::PictureView still(Fit::kTopLeft, &parent);
  still.SetPicture(ui::qt::ArtworkBytes(ui::pictures::kBadge));
  EXPECT_FALSE(still.animated());
  EXPECT_EQ(still.frame().size(), QSize(170, 64));
  still.SetPicture(QByteArray());
  EXPECT_TRUE(still.frame().isNull());
}

}  // namespace
