#include "tools/assets/AssetWriter.h"

#include <QDir>
#include <QFile>

#include "tools/assets/NameStrips.h"
#include "tools/assets/ProgramIcons.h"
#include "tools/assets/SkinCatalog.h"
#include "tools/assets/SkinFile.h"
#include "tools/assets/SliderThumbs.h"
#include "tools/assets/TreeIcons.h"

namespace skinart {
namespace {

constexpr ButtonState kStates[] = {ButtonState::kNormal, ButtonState::kHover, ButtonState::kPressed,
                                   ButtonState::kDisabled};

void WriteSkins(const QDir& client, QStringList& failed) {
    for (const SkinFolderArt& folder : SkinFolders()) {
        const QString base = client.filePath(QString::fromLatin1(folder.folder)) + '/';
        if (!SaveSkinBitmap(folder.background(), base + "BACKGROUND.bmp")) {
            failed << base + "BACKGROUND.bmp";
        }
        for (const SkinButtonArt& button : folder.buttons) {
            for (int i = 0; i < button.image_count; ++i) {
                const ButtonState state = kStates[i];
                const QString path = base + QString::fromLatin1(button.stem) +
                                     QString::number(static_cast<int>(state)) + ".bmp";
                if (!SaveSkinBitmap(
                        PaintButtonFace(button.size_px, button.Face(), state, button.glyph),
                        path)) {
                    failed << path;
                }
            }
        }
    }
}

void WriteResources(const QDir& client, QStringList& failed) {
    for (const TreeIconArt& icon : PaintTreeIcons()) {
        const QString path = client.filePath(TreeIconPath(icon.resource_id));
        if (!SavePng(icon.image, path)) {
            failed << path;
        }
    }
    for (const ProgramIconArt& icon : PaintProgramIcons()) {
        const QString path = client.filePath(ProgramIconPath(icon.program));
        if (!SavePng(icon.image, path)) {
            failed << path;
        }
    }
    const SliderThumbArt thumbs = PaintSliderThumbs();
    for (const auto& [id, image] : {std::pair{132, thumbs.resting}, {133, thumbs.dragged}}) {
        const QString path = client.filePath(SliderThumbPath(id));
        if (!SaveSkinBitmap(image, path)) {
            failed << path;
        }
    }
}

void WriteOverlays(const QDir& client, QStringList& failed) {
    for (const NameStripSheet* sheet : {&FullWidthSheet(), &CifSheet()}) {
        const QString path = client.filePath(QStringLiteral("config/") + sheet->file_name);
        const std::vector<std::uint8_t> bytes = DrawNameStrips(*sheet).Encode();
        QFile file(path);
        const bool written =
            QDir().mkpath(client.filePath("config")) && file.open(QIODevice::WriteOnly) &&
            file.write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
        if (!written) {
            failed << path;
        }
    }
}

}  // namespace

QString TreeIconPath(int resource_id) { return QStringLiteral("res/icon%1.png").arg(resource_id); }

QString ProgramIconPath(const char* program) {
    return QStringLiteral("res/%1.png").arg(QLatin1String(program));
}

QString SliderThumbPath(int resource_id) {
    return QStringLiteral("res/bitmap%1.bmp").arg(resource_id);
}

QStringList WriteAllAssets(const QString& client_folder) {
    const QDir client(client_folder);
    QStringList failed;
    WriteSkins(client, failed);
    WriteResources(client, failed);
    WriteOverlays(client, failed);
    return failed;
}

}  // namespace skinart
