#include "TrackList.h"

#include <QMouseEvent>
#include <QPainter>

TrackList::TrackList(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont font("Arial");
    font.setPixelSize(12);
    setFont(font);
}

void TrackList::Clear() {
    rows.clear();
    swatches.fill(QColor());
    lit.fill(false);
    selected = 0;
    update();
}

void TrackList::AddRow(const QString& text) {
    if (rows.size() >= kMaxRows) return;
    rows.push_back(text);
    update(RowRect(static_cast<int>(rows.size()) - 1));
}

void TrackList::SetSwatch(int row, const QColor& colour) {
    if (row < 0 || row >= kMaxRows) return;
    swatches[static_cast<std::size_t>(row)] = colour;
    update(RowRect(row));
}

void TrackList::SelectRow(int row) {
    if (row == selected || row < 0 || row >= kMaxRows) return;
    const int old = selected;
    selected = row;
    update(RowRect(old));
    update(RowRect(row));
}

void TrackList::SetLit(int row, bool on) {
    if (row < 0 || row >= kMaxRows || lit[static_cast<std::size_t>(row)] == on) return;
    lit[static_cast<std::size_t>(row)] = on;
    update(RowRect(row));
}

void TrackList::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QColor highlight = palette().color(QPalette::Highlight);
    const QColor highlightText = palette().color(QPalette::HighlightedText);
    // A selected row that is also lit is drawn in a blend of the highlight and the lit grey.
    const QColor litGrey(200, 200, 200);
    const QColor blended((highlight.red() + 200) / 2, (highlight.green() + 200) / 2,
                         (highlight.blue() + 200) / 2);
    for (int row = 0; row < rows.size(); ++row) {
        const bool isSelected = row == selected;
        const bool isLit = lit[static_cast<std::size_t>(row)];
        const QRect band = RowRect(row);
        QColor text = palette().color(QPalette::Text);
        if (isSelected && isLit) {
            painter.fillRect(band, blended);
            text = highlightText;
        } else if (isLit) {
            painter.fillRect(band, litGrey);
        } else if (isSelected) {
            painter.fillRect(band, highlight);
            text = highlightText;
        }
        const QColor swatch = swatches[static_cast<std::size_t>(row)];
        if (swatch.isValid()) {
            painter.fillRect(QRect(band.left() + 2, band.top() + 2, kSwatch, kRowHeight - 4), swatch);
            painter.setPen(Qt::black);
            painter.drawRect(QRect(band.left() + 2, band.top() + 2, kSwatch - 1, kRowHeight - 5));
        }
        painter.setPen(text);
        const QString count = rows[row].section(' ', 0, 0);
        const QString name = rows[row].section(' ', 1);
        painter.drawText(QRect(kCountLeft, band.top(), kCountWidth, kRowHeight), Qt::AlignRight | Qt::AlignVCenter,
                         count);
        painter.drawText(band.adjusted(kNameLeft, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, name);
    }
    // The header names the columns.
    const QRect header(0, 0, width(), kRowHeight);
    painter.fillRect(header, QColor(230, 230, 230));
    painter.setPen(QColor(90, 90, 90));
    QFont small = font();
    small.setPixelSize(10);
    painter.setFont(small);
    painter.drawText(QRect(kCountLeft - 6, 0, kCountWidth + 6, kRowHeight), Qt::AlignRight | Qt::AlignVCenter,
                     "Notes");
    painter.drawText(header.adjusted(kNameLeft, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, "Instrument");
}

void TrackList::mousePressEvent(QMouseEvent* event) {
    const int row = static_cast<int>(event->position().y()) / kRowHeight - 1;
    if (row >= 0 && row < rows.size() && row != selected) {
        SelectRow(row);
        emit rowChosen(row);
    }
    emit clicked();
}
