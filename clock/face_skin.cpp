#include "clock/face_skin.h"

#include <QCoreApplication>
#include <QDir>

#include "logic/log_line.h"
#include "logic/resource_ids.h"
#include "logic/skins.h"
#include "ui/skin.h"

int FaceSkin::Stored(QStringList& problems) const {
    if (m_services.profile == nullptr) {
        return 0;
    }
    const std::optional<QString> stored =
        m_services.profile->Read(QLatin1String(kSkinGroup), QLatin1String(kSkinKey));
    if (!m_services.profile->ReadProblem().isEmpty()) {
        problems << QCoreApplication::translate("CClockDlg",
                                                "The chosen skin cannot be read from %1: "
                                                "%2.\n\nThe clock shows the first skin.")
                        .arg(m_services.paths.configFile, m_services.profile->ReadProblem());
    }
    return SkinIndexFromProfile(stored);
}

bool FaceSkin::Select(int skin, qreal dpr) {
    if (skin < 0 || skin >= kSkinCount || !LoadPngResource(SkinResourceId(skin), m_image, dpr)) {
        return false;
    }
    m_shown = skin;
    return true;
}

QSize FaceSkin::size() const {
    return m_image ? m_image->deviceIndependentSize().toSize() : QSize(0, 0);
}

void FaceSkin::Store(int skin, QWidget* owner) {
    // Stored on every OK, also when the skin stays the same.
    if (m_services.profile == nullptr) {
        return;
    }
    const WriteResult stored = m_services.profile->Write(
        QLatin1String(kSkinGroup), QLatin1String(kSkinKey), QString::number(skin));
    if (m_storeFailures.Record(!stored) == FailureStreak::Turn::Begins) {
        const QString path = QDir::toNativeSeparators(m_services.paths.configFile);
        LogLine("could not store the skin in %s: %s", qPrintable(path), qPrintable(stored.reason));
        m_services.question->Warn(
            owner, QLatin1String(kAppTitle),
            //: %1 is the settings file, %2 the system's reason.
            QCoreApplication::translate("CClockDlg",
                                        "The skin could not be stored in %1:\n%2.\n\nThe clock "
                                        "shows it until it ends; the next start shows the skin "
                                        "stored before.")
                .arg(path, stored.reason));
    }
}
