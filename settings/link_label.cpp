#include "settings/link_label.h"

#include <QAccessibleActionInterface>
#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QTextDocument>

#include "logic/fit_to_text.h"
#include "logic/resource_ids.h"
#include "platform/link_open.h"
#include "platform/xdg_paths.h"
#include "ui/accessible_actions.h"

namespace {

// Tooltips render anything that looks like markup; a target is always shown as it stands.
QString TipText(const QString& link) {
    if (!Qt::mightBeRichText(link)) {
        return link;
    }
    return QStringLiteral("<p style='white-space:pre'>") + link.toHtmlEscaped() +
           QStringLiteral("</p>");
}

}  // namespace

CLinkLabel::CLinkLabel(const Services& services, QWidget* parent)
    : QLabel(parent), m_services(services) {
    setTextFormat(Qt::PlainText);
    ExposeToAssistiveTechnology(*this, QAccessible::Link);
    m_actOpen.setObjectName(QAccessibleActionInterface::pressAction());
    m_actOpen.setText(tr("打开链接"));
    QObject::connect(&m_actOpen, &QAction::triggered, this, [this] {
        if (m_subclassed) {
            OnLinkClicked();
        }
    });
    addAction(&m_actOpen);
}

void CLinkLabel::PreSubclassWindow() {
    if (m_subclassed) {
        return;
    }
    m_subclassed = true;
    if (m_strLink.isEmpty()) {
        m_strLink = text();
    }
    if (text().isEmpty()) {
        setText(m_strLink);
    }
    // Both copies are made now; the label keeps showing the font it has until hovered.
    m_fontPlain = font();
    m_fontUnderlined = font();
    m_fontUnderlined.setUnderline(true);
    setMouseTracking(true);
    FitToText();
    LoadHandCursor();
    SetUnderlineMode(UNDERLINE_HOVER);
    setToolTip(TipText(m_strLink));
}

void CLinkLabel::SetLink(QString link) {
    m_strLink = std::move(link);
    if (m_subclassed) {
        FitToText();
        setToolTip(TipText(m_strLink));
    }
}

void CLinkLabel::SetUnderlineMode(int mode) {
    if (mode == m_nUnderlineMode) {
        return;
    }
    if (m_subclassed) {
        setFont(mode == UNDERLINE_ALWAYS ? m_fontUnderlined : m_fontPlain);
        update();
    }
    m_nUnderlineMode = mode;
}

void CLinkLabel::SetOpened(bool opened) {
    m_bOpened = opened;
    if (m_subclassed) {
        update();
    }
}

void CLinkLabel::FitToText() {
    if (!m_subclassed || !m_bFitToText) {
        return;
    }
    const QFontMetrics metrics(m_fontUnderlined, this);
    const QSize border = size() - contentsRect().size();
    const QSize needed(metrics.horizontalAdvance(text()) + border.width(),
                       metrics.height() + border.height());
    // Fixed, so that a layout the label stands in keeps it that size too.
    const QRect fitted = FitWindowToText(geometry(), needed, alignment());
    setFixedSize(fitted.size());
    setGeometry(fitted);
}

void CLinkLabel::mouseMoveEvent(QMouseEvent* event) {
    if (m_subclassed) {
        OnMouseMove();
    }
    QLabel::mouseMoveEvent(event);
}

void CLinkLabel::mousePressEvent(QMouseEvent* event) {
    if (m_subclassed && event->button() == Qt::LeftButton) {
        event->accept();
        OnLinkClicked();
        return;
    }
    QLabel::mousePressEvent(event);
}

void CLinkLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is no second click: one click, one open.
    if (m_subclassed && event->button() == Qt::LeftButton) {
        event->accept();
        return;
    }
    QLabel::mouseDoubleClickEvent(event);
}

void CLinkLabel::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (m_subclassed && event->modifiers() == Qt::NoModifier &&
        (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
        event->accept();
        OnLinkClicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

void CLinkLabel::enterEvent(QEnterEvent* event) {
    if (m_subclassed) {
        OnMouseMove();
    }
    QLabel::enterEvent(event);
}

void CLinkLabel::leaveEvent(QEvent* event) {
    if (m_subclassed) {
        OnMouseLeave();
    }
    QLabel::leaveEvent(event);
}

void CLinkLabel::paintEvent(QPaintEvent* event) {
    if (!m_subclassed) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    painter.setFont(font());
    painter.setPen(CtlColor());
    painter.drawText(contentsRect(), static_cast<int>(alignment()) | Qt::TextSingleLine, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

QColor CLinkLabel::CtlColor() const {
    if (m_bHot) {
        return m_clrHot;
    }
    return m_bOpened ? m_clrOpened : m_clrNormal;
}

void CLinkLabel::LoadHandCursor() {
    setCursor(Qt::PointingHandCursor);
}

void CLinkLabel::OnMouseMove() {
    if (m_bHot) {
        return;
    }
    m_bHot = true;
    if (m_nUnderlineMode == UNDERLINE_HOVER) {
        setFont(m_fontUnderlined);
    }
    update();
}

void CLinkLabel::OnMouseLeave() {
    m_bHot = false;
    if (m_nUnderlineMode != UNDERLINE_ALWAYS) {
        setFont(m_fontPlain);
    }
    update();
}

void CLinkLabel::OnLinkClicked() {
    m_bHot = false;
    const int result = OpenLink(m_strLink);
    m_bOpened = LaunchSucceeded(result);
    if (m_bOpened) {
        SetOpened(true);
        return;
    }
    // No repaint of its own: the normal colour comes back with the next one.
    m_services.question->Beep();
    ShowOpenError(result);
}

int CLinkLabel::OpenLink(const QString& target) {
    const int result = m_services.shell->Open(target);
    if (LaunchSucceeded(result)) {
        return result;
    }
    const std::optional<QStringList> command =
        BrowserFallbackCommand(*m_services.mime, ApplicationDirs(), target);
    if (!command) {
        return result;
    }
    return m_services.launcher->StartDetached(command->front(), command->mid(1));
}

void CLinkLabel::ShowOpenError(int code) {
    m_services.question->Warn(window(), QLatin1String(kAppTitle),
                              OpenFailureMessage(m_strLink, code));
}
