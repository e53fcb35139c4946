#include "controls/paint/MemoryBitmap.h"
#include "controls/paint/ControlError.h"
#include "controls/paint/LogicalFont.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace pelmora {
namespace {

template <typename F> ControlError raised(F&& f) {
    try {
        f();
    } catch (const ControlError& e) {
        return e;
    }
    ADD_FAILURE() << "no error raised";
    return ControlError(0, QStringLiteral("-"), QString());
}

TEST(MemoryBitmap, CreateByPictureLoadsBitmapsRejectsIconsAndIgnoresNothing) {
    MemoryBitmap bmp;
    EXPECT_FALSE(bmp.CreateByPicture(OlePicture()));
    EXPECT_FALSE(bmp.hBmp());
    EXPECT_TRUE(bmp.Picture().isNone());

    QImage icon(4, 4, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    const ControlError e = raised([&] { bmp.CreateByPicture(OlePicture::icon(icon)); });
    EXPECT_EQ(e.number(), 481);
    EXPECT_EQ(e.description(), QStringLiteral("Picture property must be of type Bitmap"));
    EXPECT_EQ(e.source(), ControlError::sourceText(QStringLiteral("gdcMemoryBitmap"),
                                                   QStringLiteral("CreateByPicture")));
    EXPECT_TRUE(e.source().endsWith(QStringLiteral(".gdcMemoryBitmap:CreateByPicture")));

    QImage picture(5, 3, QImage::Format_ARGB32);
    picture.fill(qRgb(10, 20, 30));
    picture.setPixel(4, 2, qRgb(1, 2, 3));
    ASSERT_TRUE(bmp.CreateByPicture(OlePicture::bitmap(picture)));
    EXPECT_TRUE(bmp.hBmp());
    EXPECT_EQ(bmp.Width(), 5);
    EXPECT_EQ(bmp.Height(), 3);
    EXPECT_EQ(bmp.hdc().pixel(4, 2), qRgb(1, 2, 3));
    EXPECT_EQ(bmp.Picture().type(), OlePicture::Type::Bitmap);
    EXPECT_EQ(bmp.Picture().image().pixel(0, 0), qRgb(10, 20, 30));

    // ClearUp releases the bitmap and keeps the size.
    bmp.ClearUp();
    EXPECT_FALSE(bmp.hBmp());
    EXPECT_TRUE(bmp.hdc().isNull());
    EXPECT_TRUE(bmp.Picture().isNone());
    EXPECT_EQ(bmp.Width(), 5);
    EXPECT_EQ(bmp.Height(), 3);
}

TEST(MemoryBitmap, DitherResourceIsAnEightByEightCheckerboard) {
    MemoryBitmap bmp;
    ASSERT_TRUE(bmp.CreateByResource(QStringLiteral("DITHER")));
    ASSERT_EQ(bmp.Width(), 8);
    ASSERT_EQ(bmp.Height(), 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(bmp.hdc().pixel(x, y), (x + y) % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    }
    const ControlError e = raised([&] { bmp.CreateByResource(4711); });
    EXPECT_EQ(e.number(), 326);
    EXPECT_TRUE(e.source().endsWith(QStringLiteral(".gdcMemoryBitmap:CreateByResource")));
    EXPECT_TRUE(e.description().contains(QStringLiteral("4711")));
    // The error comes before loading, so the previous bitmap stays.
    EXPECT_TRUE(bmp.hBmp());
}

TEST(MemoryBitmap, CreateByFileLoadsPicturesAndRaisesForMissingOrBadFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage picture(7, 2, QImage::Format_RGB32);
    picture.fill(qRgb(200, 100, 0));
    const QString png = dir.filePath(QStringLiteral("p.png"));
    ASSERT_TRUE(picture.save(png));
    MemoryBitmap bmp;
    ASSERT_TRUE(bmp.CreateByFile(png));
    EXPECT_EQ(bmp.Width(), 7);
    EXPECT_EQ(bmp.hdc().pixel(6, 1), qRgb(200, 100, 0));

    const ControlError missing =
        raised([&] { bmp.CreateByFile(dir.filePath(QStringLiteral("none.bmp"))); });
    EXPECT_EQ(missing.number(), 53);
    EXPECT_EQ(missing.description(), QStringLiteral("File not found"));
    EXPECT_TRUE(missing.source().endsWith(QStringLiteral(".gdcMemoryBitmap:CreateByFile")));

    const QString text = dir.filePath(QStringLiteral("t.bmp"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    EXPECT_EQ(raised([&] { bmp.CreateByFile(text); }).number(), 481);
}

TEST(ControlError, EmptyDescriptionTakesTheStandardText) {
    const ControlError e(380, QString(), QStringLiteral("x.y:z"));
    EXPECT_EQ(e.description(), QStringLiteral("Invalid property value"));
    EXPECT_STREQ(e.what(), "Invalid property value");
    EXPECT_EQ(ControlError(35601, QStringLiteral("Element not found. Key is missing or illegal."),
                           QString())
                  .description(),
              QStringLiteral("Element not found. Key is missing or illegal."));
    EXPECT_TRUE(ControlError::sourceText(QStringLiteral("xToolbar"), QStringLiteral("KeyToIndex"))
                    .endsWith(QStringLiteral(".xToolbar:KeyToIndex")));
}

TEST(LogicalFont, RotatedOemFontBecomesAnsiTrueTypeButFullTurnsDoNot) {
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(9.0);
    font.setWeight(QFont::Bold);
    font.setUnderline(true);

    LogicalFont rotated;
    rotated.setRotation(90.0f);
    EXPECT_EQ(rotated.handle(), nullptr) << "no font yet";
    rotated.setLogFont(font, LogicalFont::OemCharset);
    ASSERT_NE(rotated.handle(), nullptr);
    const LogFontHandle& h = *rotated.handle();
    EXPECT_EQ(h.CharSet(), 0);
    EXPECT_EQ(h.OutPrecision(), 7);
    EXPECT_EQ(h.Escapement(), 900);
    EXPECT_EQ(h.Orientation(), 900);
    EXPECT_EQ(h.Height(), -static_cast<int>(std::nearbyint(9.0 * dpi / 72.0)));
    EXPECT_EQ(h.Width(), 0);
    EXPECT_EQ(h.Weight(), 700);
    EXPECT_TRUE(h.Underline());
    EXPECT_FALSE(h.Italic());
    EXPECT_EQ(h.Quality(), 2);
    EXPECT_EQ(h.FaceName(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(h.Font().pixelSize(), -h.Height());
    EXPECT_EQ(rotated.Charset(), LogicalFont::OemCharset) << "the copy keeps its charset";

    // A full turn keeps the OEM charset and the default precision.
    rotated.setRotation(360.0f);
    ASSERT_NE(rotated.handle(), nullptr);
    EXPECT_EQ(rotated.handle()->CharSet(), 255);
    EXPECT_EQ(rotated.handle()->OutPrecision(), 0);
    EXPECT_EQ(rotated.handle()->Escapement(), 3600);

    // Rotation in tenths, rounded; other charsets are never changed.
    LogicalFont other;
    other.setLogFont(font, 2);
    other.setRotation(45.04f);
    EXPECT_EQ(other.handle()->Escapement(), 450);
    EXPECT_EQ(other.handle()->CharSet(), 2);
    EXPECT_EQ(other.handle()->OutPrecision(), 7);

    // The copy does not follow the caller's font; clearing drops the handle.
    font.setItalic(true);
    EXPECT_FALSE(other.LogFont()->italic());
    other.clearLogFont();
    EXPECT_EQ(other.handle(), nullptr);
    EXPECT_FALSE(other.LogFont().has_value());
}

} // namespace
} // namespace pelmora
