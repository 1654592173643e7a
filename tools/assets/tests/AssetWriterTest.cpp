#include "tools/assets/AssetWriter.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include "tools/assets/SkinFile.h"

namespace {

using namespace skinart;

QStringList FilesBelow(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files << it.next().mid(folder.size());
    }
    files.sort();
    return files;
}

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The build draws the art anew whenever the generator changes; the same generator must give the
// same files, or every build would reinstall changed art.
TEST(AssetWriter, WritesTheSameFilesOnEveryRun) {
    QTemporaryDir first, second;
    ASSERT_TRUE(first.isValid() && second.isValid());
    EXPECT_TRUE(WriteAllAssets(first.path()).isEmpty());
    EXPECT_TRUE(WriteAllAssets(second.path()).isEmpty());
    const QStringList files = FilesBelow(first.path());
    ASSERT_EQ(files, FilesBelow(second.path()));
    EXPECT_TRUE(files.contains("/skin4/LOCAL VIEW2.bmp"));
    EXPECT_TRUE(files.contains("/config/cif_8_channel.yuv"));
    for (const QString& file : files) {
        EXPECT_EQ(Bytes(first.path() + file), Bytes(second.path() + file)) << qPrintable(file);
    }
}

TEST(AssetWriter, ReportsEveryFileItCannotWrite) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QFile blocker(folder.filePath("client"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the folder should go
    blocker.close();
    const QStringList failed = WriteAllAssets(blocker.fileName());
    EXPECT_TRUE(failed.contains(blocker.fileName() + "/skin1/BACKGROUND.bmp"));
    EXPECT_TRUE(failed.contains(blocker.fileName() + "/skin3/PLAY4.bmp"));
    EXPECT_TRUE(failed.contains(blocker.fileName() + "/res/bitmap132.bmp"));
    EXPECT_TRUE(failed.contains(blocker.fileName() + "/config/channel.yuv"));
}

TEST(SkinFile, MovesMappedGreysOneStepOff) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QImage image(4, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(128, 128, 128));
    image.setPixel(1, 0, qRgb(192, 192, 192));
    image.setPixel(2, 0, qRgb(223, 223, 223));
    image.setPixel(3, 0, qRgb(127, 127, 127));  // any other grey stays
    const QString path = folder.filePath("new/grey.bmp");
    ASSERT_TRUE(SaveSkinBitmap(image, path));
    const QImage saved(path);
    ASSERT_EQ(saved.size(), QSize(4, 1));
    for (int x = 0; x < 3; ++x) {
        EXPECT_FALSE(IsMappedGrey(saved.pixel(x, 0))) << x;
        EXPECT_EQ(qRed(saved.pixel(x, 0)), qRed(image.pixel(x, 0))) << x;
    }
    EXPECT_EQ(saved.pixel(3, 0), image.pixel(3, 0));
}

}  // namespace
