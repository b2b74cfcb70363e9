#pragma once

#include <memory>

#include <QDialog>
#include <QImage>
#include <QListWidget>

#include "platform/services.h"
#include "settings/link_label.h"

class QCheckBox;

// The settings dialog: the skin to show, with a preview, and whether the clock starts with the
// desktop session. It opens on the skin the clock shows, writes the session entry itself (on OK,
// only when the box changed) and hands the chosen skin back for the clock to store and apply.
class CSettingsDlg : public QDialog {
    Q_OBJECT

public:
    // `nSkin` is the skin the clock shows (0 to 7), selected when the dialog opens.
    explicit CSettingsDlg(const Services& services, int nSkin = 0, QWidget* pParent = nullptr);
    ~CSettingsDlg() override;

    // Accepted after OK, Rejected after Esc or the close box.
    int DoModal() { return exec(); }
    void accept() override { OnOK(); }

    // The skin chosen with OK.
    int chosenSkin() const { return m_nSkin; }
    // Where the preview (the selected skin over the wood) is painted, in the dialog's
    // coordinates.
    QRect PreviewRect() const;

protected:
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void done(int result) override;

private:
    bool OnInitDialog();
    void UpdateData(bool bSaveAndValidate);
    void OnSelChangeSkinList();
    void OnOK();
    void OnDestroy();
    // The session entry is ours as an earlier version wrote it.
    bool EntryIsEarlier() const;

    QListWidget m_listSkins;
    bool m_bAutoStart = false;
    CLinkLabel m_linkReport;
    bool m_bAutoStartAtOpen = false;
    int m_nSkin = 0;
    std::unique_ptr<QImage> m_pPreviewImage;
    std::unique_ptr<QImage> m_pBackImage;
    const Services& m_services;
    QCheckBox* m_checkAutoStart = nullptr;
    QWidget* m_previewFrame = nullptr;
    bool m_initialised = false;
};

// Where bug reports go.
inline constexpr char kBugReportLink[] = "mailto:bugs@kelvarine.example";
