#include "platform/font_files.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fontconfig/fontconfig.h>

#include <QFile>

namespace {

std::optional<QString> Match(const QString& family) {
    const QByteArray name = family.toUtf8();
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) {
        return std::nullopt;
    }
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.constData()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    std::optional<QString> path;
    FcChar8* file = nullptr;
    if (match != nullptr && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        path = QFile::decodeName(reinterpret_cast<const char*>(file));
    }
    if (match != nullptr) {
        FcPatternDestroy(match);
    }
    return path;
}

}  // namespace

QList<std::optional<QString>> MatchFontFiles(const QStringList& families) {
    QList<std::optional<QString>> files;
    // The process's configuration: loading the fonts has Qt read its hinting settings from it,
    // and Qt's own font database uses it for every other text, so one set-up serves them all.
    // It stays: Qt keeps patterns from it, and any menu, box or dialog maps its caches again.
    for (const QString& family : families) {
        files.append(Match(family));
    }
    return files;
}

QByteArray MapFontFile(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return {};
    }
    struct stat st = {};
    void* data = MAP_FAILED;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        data = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    }
    ::close(fd);
    if (data == MAP_FAILED) {
        return {};
    }
    return QByteArray::fromRawData(static_cast<const char*>(data),
                                   static_cast<qsizetype>(st.st_size));
}
