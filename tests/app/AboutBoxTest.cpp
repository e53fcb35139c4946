#include "app/AboutDialog.h"
#include "app/ProductAddresses.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <gtest/gtest.h>

namespace pelmora {
namespace {

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        box = std::make_unique<AboutDialog>(
            nullptr, [this](const QString& target) { opened.append(target); });
        box->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(box.get()));
    }

    // A real click, through the window system, on the middle of a link's text.
    void ClickLink(HotLink* link) {
        const QPoint at =
            link->CaptionLabel()->mapTo(box.get(), link->CaptionLabel()->rect().center());
        QTest::mouseClick(box->windowHandle(), Qt::LeftButton, {}, at);
    }

    std::unique_ptr<AboutDialog> box;
    QStringList opened;
};

TEST_F(AboutBoxTest, ShowsNameVersionIconAndBothAddresses) {
    EXPECT_EQ(box->windowTitle(), QStringLiteral("About..."));
    EXPECT_EQ(box->titleLabel()->text(), QStringLiteral("Quorvel"));
    EXPECT_TRUE(box->titleLabel()->font().bold());
    EXPECT_DOUBLE_EQ(box->titleLabel()->font().pointSizeF(), 11.25);
    EXPECT_EQ(box->titleLabel()->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(box->versionLabel()->text(), QStringLiteral("Version: 1.5t (Build 8/4/2007)"));
    EXPECT_FALSE(box->iconLabel()->pixmap().isNull());
    EXPECT_FALSE(box->windowIcon().isNull());
    EXPECT_EQ(box->webSiteLink()->CaptionLabel()->text(), QString::fromLatin1(kWebSiteAddress));
    EXPECT_EQ(box->supportLink()->CaptionLabel()->text(), QString::fromLatin1(kSupportMailAddress));
    // The links' look comes from the stored design compiled into the program.
    EXPECT_EQ(box->webSiteLink()->CaptionLabel()->palette().color(QPalette::WindowText),
              QColor(0, 0, 128));
    EXPECT_TRUE(box->supportLink()->HoverFont().underline());
}

TEST_F(AboutBoxTest, TheLinksShowTheirWholeAddressesInsideTheBoxAndDropsAreMentioned) {
    EXPECT_TRUE(box->dropLabel()->isVisible());
    EXPECT_TRUE(box->dropLabel()->text().contains(QStringLiteral("Drop")));
    const int rightMargin = box->layout()->contentsMargins().right();
    for (HotLink* link : {box->webSiteLink(), box->supportLink()}) {
        const QString caption = link->CaptionLabel()->text();
        // Wide enough for the address in either look, hovered or not.
        const int needed = std::max(QFontMetrics(link->DefFont()).horizontalAdvance(caption),
                                    QFontMetrics(link->HoverFont()).horizontalAdvance(caption));
        EXPECT_GE(link->width() - link->CaptionLabel()->x(), needed) << caption.toStdString();
        EXPECT_GE(link->CaptionLabel()->width(),
                  QFontMetrics(link->CaptionLabel()->font()).horizontalAdvance(caption));
        // The box leaves its margin right of the link.
        EXPECT_LE(link->mapTo(box.get(), QPoint(link->width(), 0)).x(), box->width() - rightMargin)
            << caption.toStdString();
    }
}

TEST_F(AboutBoxTest, MailLinkOpensAMailtoTextAndWebLinkTheAddress) {
    ClickLink(box->supportLink());
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened.first().startsWith(QStringLiteral("mailto:")));
    EXPECT_EQ(opened.first(), QStringLiteral("mailto:") + QString::fromLatin1(kSupportMailAddress));

    ClickLink(box->webSiteLink());
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened.last(), QString::fromLatin1(kWebSiteAddress));
}

TEST_F(AboutBoxTest, OkClosesTheBox) {
    QTest::mouseClick(box->okButton(), Qt::LeftButton);
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(box->result(), QDialog::Accepted);
    EXPECT_TRUE(opened.isEmpty());
}

} // namespace
} // namespace pelmora
