// Paints the clock's committed art and writes it with libpng, so that colour type, bit depth
// and interlacing are exactly what the program and its tests expect. Run through
// tools/make-assets; the output is deterministic.

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include <png.h>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include "assets.h"
#include "logic/resource_ids.h"

namespace {

struct PngJob {
    int width;
    int height;
    bool alpha;
    bool interlaced;
    const std::vector<const std::uint8_t*>* rows;
};

// Only trivially destructible locals here: libpng reports errors by longjmp.
bool WritePngRows(std::FILE* file, const PngJob& job) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, static_cast<png_uint_32>(job.width),
                 static_cast<png_uint_32>(job.height), 8,
                 job.alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 job.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass) {
        for (const std::uint8_t* row : *job.rows) {
            png_write_row(png, row);
        }
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool WritePng(const QString& path, const QImage& image, bool alpha, bool interlaced) {
    const QImage pixels =
        image.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    std::vector<const std::uint8_t*> rows;
    for (int y = 0; y < pixels.height(); ++y) {
        rows.push_back(pixels.constScanLine(y));
    }
    std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool ok = WritePngRows(file, {pixels.width(), pixels.height(), alpha, interlaced, &rows});
    return std::fclose(file) == 0 && ok;
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

bool WriteWave(const QString& path, const std::vector<std::uint8_t>& samples) {
    const auto dataSize = static_cast<std::uint32_t>(samples.size());
    const std::uint32_t pad = dataSize % 2;  // RIFF chunks are word aligned
    std::vector<std::uint8_t> out;
    PutTag(out, "RIFF");
    Put32(out, 4 + (8 + 16) + (8 + dataSize + pad));
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, 1);  // mono
    Put32(out, kChimeRate);
    Put32(out, kChimeRate);  // bytes per second
    Put16(out, 1);           // block align
    Put16(out, 8);           // bits per sample
    PutTag(out, "data");
    Put32(out, dataSize);
    out.insert(out.end(), samples.begin(), samples.end());
    if (pad != 0) {
        out.push_back(0);
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(reinterpret_cast<const char*>(out.data()), static_cast<qint64>(out.size())) ==
               static_cast<qint64>(out.size());
}

}  // namespace

int main(int argc, char** argv) {
    // Always offscreen: it needs no display, and the font setup must not depend on the desktop.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);  // fonts need a GUI application
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: make_assets <res folder>\n");
        return 2;
    }
    const QDir res(args[1]);
    for (const char* sub : {"png", "wave", "icon"}) {
        if (!res.mkpath(sub)) {
            std::fprintf(stderr, "make_assets: cannot create %s/%s\n", qPrintable(res.path()), sub);
            return 1;
        }
    }

    bool ok = true;
    auto check = [&](bool written, const QString& path) {
        if (!written) {
            std::fprintf(stderr, "make_assets: cannot write %s\n", qPrintable(path));
        }
        ok = ok && written;
    };
    // Every image also at twice the pixels ("@2x"), for screens of twice the density.
    for (const auto& [scale, suffix] : {std::pair{1.0, ""}, std::pair{2.0, "@2x"}}) {
        for (int i = 0; i < kSkinCount; ++i) {
            const QString path =
                res.filePath(QString("png/%1%2.png").arg(SkinResourceId(i)).arg(suffix));
            // Skin 3 stays interlaced: the program must keep reading Adam7 files.
            check(WritePng(path, PaintSkin(i, scale), true, i == 3), path);
        }
        const QString backdrop =
            res.filePath(QString("png/%1%2.png").arg(IDR_PREVIEW_BACK).arg(suffix));
        check(WritePng(backdrop, PaintBackdrop(scale), false, false), backdrop);
    }
    // The icon in the sizes the desktop asks for; the largest is also the program's own.
    const QString icon = res.filePath(QString("icon/%1.png").arg(IDR_MAINFRAME));
    check(WritePng(icon, PaintIcon(), true, false), icon);
    for (const int size : {48, 64}) {
        const QString path = res.filePath(QString("icon/%1.png").arg(size));
        check(WritePng(path, PaintIcon(size), true, false), path);
    }
    const QString chime = res.filePath(QString("wave/%1.wav").arg(IDR_ALARM_WAVE));
    check(WriteWave(chime, ChimeSamples()), chime);
    return ok ? 0 : 1;
}
