#include "settings/settings_dlg.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPushButton>

#include "logic/resource_ids.h"
#include "logic/skins.h"
#include "logic/user_file.h"
#include "platform/autostart_store.h"
#include "ui/dialog_builder.h"
#include "ui/dialog_placement.h"
#include "ui/drawing.h"
#include "ui/skin.h"
#include "ui/tell.h"

CSettingsDlg::CSettingsDlg(const Services& services, int nSkin, QWidget* pParent)
    : QDialog(pParent),
      m_linkReport(services),
      m_nSkin(nSkin >= 0 && nSkin < kSkinCount ? nSkin : 0),
      m_services(services) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    const DialogTemplate* dialog = FindDialogTemplate(IDD_SETTINGS);
    if (dialog == nullptr) {
        return;
    }
    const std::map<int, QWidget*> controls = BuildDialog(
        *this, *dialog, {{IDC_SKIN_LIST, &m_listSkins}, {IDC_REPORT_LINK, &m_linkReport}});
    m_checkAutoStart = qobject_cast<QCheckBox*>(controls.at(IDC_AUTOSTART));
    m_previewFrame = controls.at(IDC_PREVIEW_FRAME);
    auto* ok = qobject_cast<QPushButton*>(controls.at(IDOK));
    // Enter is OK wherever the focus is, as in any dialog with an OK button.
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CSettingsDlg::OnOK);
    connect(&m_listSkins, &QListWidget::currentRowChanged, this, [this] { OnSelChangeSkinList(); });
}

CSettingsDlg::~CSettingsDlg() = default;

void CSettingsDlg::showEvent(QShowEvent* e) {
    if (!m_initialised) {
        m_initialised = true;
        OnInitDialog();
        if (parentWidget() != nullptr) {
            PlaceClearOf(*this, *parentWidget());
        }
    }
    QDialog::showEvent(e);
}

bool CSettingsDlg::OnInitDialog() {
    m_linkReport.PreSubclassWindow();
    UpdateData(false);
    {
        const QSignalBlocker quiet(m_listSkins);
        for (int skin = 0; skin < kSkinCount; ++skin) {
            m_listSkins.addItem(SkinName(skin));
        }
        // The skin the clock shows, so that OK without a change keeps it.
        m_listSkins.setCurrentRow(m_nSkin);
    }
    m_listSkins.scrollToItem(m_listSkins.currentItem());
    LoadPngResource(IDR_PREVIEW_BACK, m_pBackImage, devicePixelRatioF());
    OnSelChangeSkinList();
    m_linkReport.SetLink(QLatin1String(kBugReportLink));
    m_linkReport.SetUnderlineMode(CLinkLabel::UNDERLINE_ALWAYS);
    m_bAutoStart = m_services.autostart != nullptr &&
                   StartsWithSession(*m_services.autostart, m_services.paths.program);
    m_bAutoStartAtOpen = m_bAutoStart;
    UpdateData(false);
    m_listSkins.setFocus();
    return true;
}

void CSettingsDlg::UpdateData(bool bSaveAndValidate) {
    if (m_checkAutoStart == nullptr) {
        return;
    }
    if (bSaveAndValidate) {
        m_bAutoStart = m_checkAutoStart->isChecked();
    } else {
        m_checkAutoStart->setChecked(m_bAutoStart);
    }
}

void CSettingsDlg::OnSelChangeSkinList() {
    const int index = m_listSkins.currentRow();
    if (index >= 0) {
        LoadPngResource(SkinResourceId(index), m_pPreviewImage, devicePixelRatioF());
    }
    update();
}

QRect CSettingsDlg::PreviewRect() const {
    return m_previewFrame != nullptr ? m_previewFrame->geometry() : QRect();
}

void CSettingsDlg::paintEvent(QPaintEvent*) {
    DrawingSurface surface(this);
    // Both fill the frame exactly; the skin's alpha lets the wood show around the face.
    for (const std::unique_ptr<QImage>* image : {&m_pBackImage, &m_pPreviewImage}) {
        if (*image && !(*image)->isNull()) {
            surface.DrawImage(**image, PreviewRect());
        }
    }
}

void CSettingsDlg::OnOK() {
    UpdateData(true);
    if (m_services.autostart != nullptr &&
        (m_bAutoStart != m_bAutoStartAtOpen || (m_bAutoStart && EntryIsEarlier()))) {
        const QString& program = m_services.paths.program;
        if (m_bAutoStart && !PathIsText(program)) {
            // A desktop entry is UTF-8 text; a launcher could not find this path from one.
            const QString text =
                QCoreApplication::translate(
                    "CSettingsDlg",
                    "The clock cannot start with your session from %1: a session entry cannot "
                    "hold that path, as it is not valid UTF-8.")
                    .arg(program);
            Tell(m_services, this, text);
        } else if (m_bAutoStart) {
            if (const WriteResult written = m_services.autostart->WriteEntry(program); !written) {
                // Ticked and left unticked by a full disk or a pipe in the way: not in silence.
                const QString text =
                    QCoreApplication::translate("CSettingsDlg",
                                                "The clock could not be set to start with your "
                                                "session: its entry %1 cannot be written: %2.")
                        .arg(m_services.autostart->Location(), written.reason);
                Tell(m_services, this, text);
            }
        } else {
            m_services.autostart->Remove();
        }
    }
    m_nSkin = m_listSkins.currentRow();
    done(Accepted);
}

bool CSettingsDlg::EntryIsEarlier() const {
    const std::optional<QByteArray> entry = m_services.autostart->ReadEntry();
    return entry && IsEarlierAutostartEntry(*entry, m_services.paths.program);
}

void CSettingsDlg::done(int result) {
    QDialog::done(result);
    OnDestroy();
}

void CSettingsDlg::OnDestroy() {
    m_pPreviewImage.reset();
    m_pBackImage.reset();
}
