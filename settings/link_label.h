#pragma once

#include <QAction>
#include <QColor>
#include <QFont>
#include <QLabel>
#include <QRect>
#include <QSize>

#include "platform/services.h"

// A static text that behaves as a hyperlink: link colours, red while the pointer is on it, a
// hand cursor and its target as tooltip. A click, or Return or Space while it has the focus,
// opens the target through the desktop, or else through the default web browser, and a failure
// is reported with a beep and a message box; for a mail link the box gives the address to copy.
// Assistive technology sees a link it can press.
class CLinkLabel : public QLabel {
    Q_OBJECT

public:
    static constexpr int UNDERLINE_HOVER = -1;
    static constexpr int UNDERLINE_NEVER = 0;
    static constexpr int UNDERLINE_ALWAYS = 1;

    explicit CLinkLabel(const Services& services, QWidget* parent = nullptr);

    // Makes the label a link, keeping the text, font, alignment and place its dialog gave it. The
    // target, if none was set, is the text; an empty text shows the target. Call once.
    void PreSubclassWindow();

    void SetLink(QString link);
    void SetUnderlineMode(int mode);
    void SetOpened(bool opened);
    // Resizes the label to its text measured in the underlined font, plus its frame, and keeps it
    // that size in a layout.
    void FitToText();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QColor CtlColor() const;
    void LoadHandCursor();
    void OnMouseMove();
    void OnMouseLeave();
    void OnLinkClicked();
    int OpenLink(const QString& target);
    void ShowOpenError(int code);

    const QColor m_clrNormal{0, 0, 238};
    const QColor m_clrOpened{85, 26, 139};
    const QColor m_clrHot{255, 0, 0};
    bool m_bHot = false;
    bool m_bOpened = false;  // the last open succeeded
    int m_nUnderlineMode = UNDERLINE_HOVER;
    const bool m_bFitToText = true;
    QString m_strLink;
    QFont m_fontUnderlined;
    QFont m_fontPlain;
    bool m_subclassed = false;
    const Services& m_services;
    QAction m_actOpen;
};
