#include "platform/dc.h"
#include "platform/icon.h"
#include "platform/qt/qt_surface.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

TEST(QtIcons, AnImageFileNamedByPathIsAnIconAndAMissingOneIsNone)
{
    const QString path = QDir::temp().filePath(QStringLiteral("platform_icon_%1.png").arg(QCoreApplication::applicationPid()));
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(QColor(255, 0, 0));
    ASSERT_TRUE(image.save(path));
    const HICON icon = LoadThemeIcon(path.toStdString(), IconSize::Small);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->Size(), CSize(16, 16));
    EXPECT_EQ(LoadThemeIcon((path + ".missing").toStdString(), IconSize::Small), nullptr);

    QImage target(40, 20, QImage::Format_ARGB32);
    target.fill(Qt::white);
    {
        QPainter painter(&target);
        platform::qt::QtSurface surface(painter, CSize(40, 20));
        surface.DrawIcon({0, 0}, *icon, platform::DrawingSurface::IconLook::Normal);
        surface.DrawIcon({20, 0}, *icon, platform::DrawingSurface::IconLook::Disabled);
    }
    EXPECT_EQ(target.pixelColor(8, 8), QColor(255, 0, 0));
    EXPECT_NE(target.pixelColor(28, 8), QColor(255, 0, 0)) << "the disabled look differs";
    QFile::remove(path);
}

TEST(QtIcons, ExecutablesWithoutAnIconOfTheirOwnGetAGenericOne)
{
    const HICON icon = LoadExecutableIcon(IconSize::Large);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->Size(), CSize(32, 32));
}

}  // namespace
