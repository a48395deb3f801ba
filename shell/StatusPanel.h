#pragma once

#include <QLabel>

class QFontMetrics;

// The status bar's text panel. It keeps the whole text it is given and shows
// as much as fits: a text that is too long loses the middle of its path to
// an ellipsis ("Schreibe a.htm in /home/…/Ordner 29"), and a text without a
// path, or one that still does not fit, loses its own middle.
class StatusPanel final : public QLabel
{
    Q_OBJECT

public:
    StatusPanel(const QString& text, QWidget* parent);

    // details: what the text sums up ("5 Dateien"), shown as its tooltip.
    void setFullText(const QString& text, const QString& details = {});
    QString fullText() const { return m_fullText; }

    // The text as it fits into width pixels in the font of the metrics.
    static QString elide(const QString& text, const QFontMetrics& metrics, int width);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showFitting();

    QString m_fullText;
    QString m_details;
};
