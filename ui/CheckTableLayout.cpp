#include "CheckTableLayout.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QTableView>
#include <algorithm>

void CheckTableLayout::apply(QTableView& table)
{
    table.setWordWrap(false);
    table.setTextElideMode(Qt::ElideMiddle);
    QHeaderView& header = *table.horizontalHeader();
    header.setStretchLastSection(false);
    header.setMinimumSectionSize(0);
    header.setSectionResizeMode(Klasse, QHeaderView::ResizeToContents);
    header.setSectionResizeMode(AlteUrl, QHeaderView::Stretch);
    header.setSectionResizeMode(ZielUrl, QHeaderView::Stretch);
    // A status is three digits; a failure's reason is cut and stands whole
    // in the tooltip.
    header.setSectionResizeMode(Status, QHeaderView::Fixed);
    const int margins = 2 * table.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header) +
                        table.style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, &header);
    const QString headerText = table.model()->headerData(Status, Qt::Horizontal).toString();
    header.resizeSection(Status, header.fontMetrics().horizontalAdvance(headerText) + margins);
    QHeaderView& rows = *table.verticalHeader();
    rows.setSectionResizeMode(QHeaderView::Fixed);
    // One line of text, or the class's mark, with a little air.
    rows.setDefaultSectionSize(std::max(table.fontMetrics().height(), 16) + 6);
}
