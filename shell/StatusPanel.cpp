#include "StatusPanel.h"

#include <QFontMetrics>
#include <QStringList>

namespace {

bool isSeparator(QChar c)
{
    return c == u'/' || c == u'\\';
}

qsizetype nextSeparator(const QString& text, qsizetype from)
{
    for (qsizetype i = from; i < text.size(); ++i) {
        if (isSeparator(text[i]))
            return i;
    }
    return -1;
}

} // namespace

StatusPanel::StatusPanel(const QString& text, QWidget* parent) : QLabel(parent)
{
    // The panel takes the room the status bar has; a long text must not
    // widen the bar, and with it the window.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setFullText(text);
}

void StatusPanel::setFullText(const QString& text, const QString& details)
{
    m_fullText = text;
    m_details = details;
    showFitting();
}

void StatusPanel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    showFitting();
}

void StatusPanel::showFitting()
{
    const QString shown = elide(m_fullText, fontMetrics(), contentsRect().width());
    setText(shown);
    QStringList tip;
    if (shown != m_fullText)
        tip.append(m_fullText);
    if (!m_details.isEmpty())
        tip.append(m_details);
    setToolTip(tip.join(u'\n'));
}

QString StatusPanel::elide(const QString& text, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    // The path keeps its root and first folder ("/home/", "C:\wwwroot\")
    // and as many of its last folders as fit; the cut falls between folders.
    const qsizetype root = nextSeparator(text, 0);
    const qsizetype headEnd = root < 0 ? -1 : nextSeparator(text, root + 1);
    if (headEnd >= 0) {
        const QString head = text.left(headEnd + 1) + QChar(0x2026);
        for (qsizetype cut = nextSeparator(text, headEnd + 1); cut >= 0;
             cut = nextSeparator(text, cut + 1)) {
            const QString candidate = head + text.mid(cut);
            if (metrics.horizontalAdvance(candidate) <= width)
                return candidate;
        }
    }
    return metrics.elidedText(text, Qt::ElideMiddle, width);
}
