#include "widgets/pictures.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <algorithm>
#include <ostream>
#include <set>

namespace widgets {

void PrintTo(Picture picture, std::ostream* out)
{
    *out << PicturePath(picture).toStdString();
}

} // namespace widgets

namespace {

using widgets::kAllPictures;
using widgets::Picture;
using widgets::PictureIcon;
using widgets::PicturePath;
using widgets::PicturePixmap;

QImage Straight(const QPixmap& pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

bool Shows(QRgb pixel)
{
    return qAlpha(pixel) >= 160;
}

int ShownPixelCount(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += Shows(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

QRect ShownBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (Shows(image.pixel(x, y))) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

// Every pixel that shows clearly is white: no colour of its own anywhere.
bool DrawnOnlyInWhite(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) >= 128 &&
                (qRed(pixel) < 250 || qGreen(pixel) < 250 || qBlue(pixel) < 250)) {
                return false;
            }
        }
    }
    return true;
}

class PictureTest : public ::testing::TestWithParam<Picture> {};

TEST_P(PictureTest, IsCompiledIn)
{
    EXPECT_TRUE(QFile::exists(PicturePath(GetParam())));
}

TEST_P(PictureTest, RendersInWhiteAndFillsAtLeastHalfItsSquare)
{
    const QImage image = Straight(PicturePixmap(GetParam(), QSize(32, 32)));

    ASSERT_EQ(image.size(), QSize(32, 32));
    EXPECT_GT(ShownPixelCount(image), 40);
    EXPECT_TRUE(DrawnOnlyInWhite(image));
    EXPECT_GE(ShownBounds(image).width(), 16);
    EXPECT_GE(ShownBounds(image).height(), 16);
}

TEST_P(PictureTest, RendersSharplyOnAScaledScreen)
{
    const QPixmap pixmap = PicturePixmap(GetParam(), QSize(16, 16), 2.0);

    EXPECT_EQ(pixmap.size(), QSize(32, 32));
    EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(16, 16));
    EXPECT_GT(ShownPixelCount(Straight(pixmap)), 40);
}

TEST_P(PictureTest, IconDrawsThePictureAtEverySizeAsked)
{
    const QIcon icon = PictureIcon(GetParam());
    for (const int side : {16, 24, 48, 128}) {
        const QImage image = Straight(icon.pixmap(QSize(side, side)));
        EXPECT_EQ(image.size(), QSize(side, side));
        EXPECT_GT(ShownPixelCount(image), side) << side;
        EXPECT_TRUE(DrawnOnlyInWhite(image)) << side;
    }
}

TEST_P(PictureTest, DisabledIconIsFainter)
{
    const QIcon icon = PictureIcon(GetParam());
    const QImage disabled = Straight(icon.pixmap(QSize(32, 32), QIcon::Disabled));

    int strongest = 0;
    for (int y = 0; y < disabled.height(); ++y) {
        for (int x = 0; x < disabled.width(); ++x) {
            strongest = std::max(strongest, qAlpha(disabled.pixel(x, y)));
        }
    }
    EXPECT_GT(strongest, 60);
    EXPECT_LT(strongest, 128);
}

INSTANTIATE_TEST_SUITE_P(Every, PictureTest, ::testing::ValuesIn(kAllPictures));

TEST(Pictures, EveryPictureIsADrawingOfItsOwn)
{
    std::set<QString> paths;
    std::set<QByteArray> drawings;
    for (const Picture picture : kAllPictures) {
        paths.insert(PicturePath(picture));
        const QImage image = Straight(PicturePixmap(picture, QSize(24, 24)));
        drawings.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()),
                                   static_cast<int>(image.sizeInBytes())));
    }
    EXPECT_EQ(paths.size(), kAllPictures.size());
    EXPECT_EQ(drawings.size(), kAllPictures.size());
}

} // namespace
