// corvalen_draw_resources: paints the program's pictures and writes them into a resources directory.
//
//   corvalen_draw_resources --font /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc <resources-dir>
//
// writes <resources-dir>/start_button.jpg, <resources-dir>/corvalen.ico and
// <resources-dir>/icons/<size>/corvalen.png. The same inputs always give the same bytes.

#include <cstdio>
#include <cstdlib>

#include <QCommandLineParser>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QSaveFile>

#include "ico_file.h"
#include "jpeg_file.h"
#include "pinwheel_icon.h"
#include "png_file.h"
#include "start_button.h"

namespace {

using corvalen::tools::IconImage;

// The caption's face. The font file holds every Noto Sans CJK region; the Simplified Chinese one draws the
// caption's characters in their mainland forms.
const QString kCaptionFamily = QStringLiteral("Noto Sans CJK SC");

// Quantisation of the start-button picture, as a percentage of the standard tables (libjpeg quality 95.5):
// fine enough for a crisp caption on the smooth gradient, and a file of about 7.5 KB.
constexpr int kStartButtonTableScale = 9;

constexpr int kDesktopIconSizes[] = {16, 32, 48, 64, 128, 256};
constexpr int kIcoDibSizes[] = {16, 32, 48};

[[noreturn]] void fail(const QString& message) {
    std::fprintf(stderr, "corvalen_draw_resources: %s\n", qPrintable(message));
    std::exit(EXIT_FAILURE);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    }
    std::printf("%8lld  %s\n", static_cast<long long>(bytes.size()),
                qPrintable(QDir::current().relativeFilePath(path)));
}

QFont loadCaptionFont(const QString& fontFile) {
    // Loading by path, rather than asking fontconfig for the family, keeps the picture independent of the
    // fonts installed and configured on the machine that runs the generator.
    const int id = QFontDatabase::addApplicationFont(fontFile);
    if (id < 0) {
        fail(QStringLiteral("cannot load the font file %1").arg(fontFile));
    }
    if (!QFontDatabase::applicationFontFamilies(id).contains(kCaptionFamily)) {
        fail(QStringLiteral("%1 has no face %2").arg(fontFile, kCaptionFamily));
    }
    QFont font(kCaptionFamily);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferOutline));
    if (QFontInfo(font).family() != kCaptionFamily) {
        fail(QStringLiteral("the face %1 could not be selected").arg(kCaptionFamily));
    }
    return font;
}

} // namespace

int main(int argc, char* argv[]) {
    // The generator never opens a window; the offscreen platform lets it run without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Paints Corvalen's start-button picture and program icon."));
    parser.addHelpOption();
    const QCommandLineOption fontOption(QStringLiteral("font"),
                                        QStringLiteral("Font file holding Noto Sans CJK SC."),
                                        QStringLiteral("file"));
    parser.addOption(fontOption);
    parser.addPositionalArgument(QStringLiteral("resources-dir"), QStringLiteral("Directory to write into."));
    parser.process(app);
    if (!parser.isSet(fontOption) || parser.positionalArguments().size() != 1) {
        parser.showHelp(EXIT_FAILURE);
    }
    const QDir out(parser.positionalArguments().first());
    if (!out.mkpath(QStringLiteral("."))) {
        fail(QStringLiteral("cannot create %1").arg(out.path()));
    }

    const QImage button = corvalen::tools::drawStartButton(loadCaptionFont(parser.value(fontOption)));
    writeFile(out.filePath(QStringLiteral("start_button.jpg")),
              corvalen::tools::encodeBaselineJpeg(button, kStartButtonTableScale));

    QList<IconImage> icoImages;
    for (IconImage::Storage storage : {IconImage::Storage::Palette256, IconImage::Storage::Bgra32}) {
        for (int size : kIcoDibSizes) {
            icoImages.push_back({corvalen::tools::drawPinwheelIcon(size), storage});
        }
    }
    icoImages.push_back({corvalen::tools::drawPinwheelIcon(256), IconImage::Storage::Png});
    writeFile(out.filePath(QStringLiteral("corvalen.ico")), corvalen::tools::encodeIco(icoImages));

    for (int size : kDesktopIconSizes) {
        const QString dir = QStringLiteral("icons/%1").arg(size);
        if (!out.mkpath(dir)) {
            fail(QStringLiteral("cannot create %1").arg(out.filePath(dir)));
        }
        writeFile(out.filePath(dir + QStringLiteral("/corvalen.png")),
                  corvalen::tools::encodePng(corvalen::tools::drawPinwheelIcon(size)));
    }
    return EXIT_SUCCESS;
}
