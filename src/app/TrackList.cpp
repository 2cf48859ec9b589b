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
    lit.fill(false);
    selected = 0;
    update();
}

void TrackList::AddRow(const QString& text) {
    if (rows.size() >= kMaxRows) return;
    rows.push_back(text);
    update(RowRect(static_cast<int>(rows.size()) - 1));
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
        painter.setPen(text);
        painter.drawText(band.adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, rows[row]);
    }
}

void TrackList::mousePressEvent(QMouseEvent* event) {
    const int row = static_cast<int>(event->position().y()) / kRowHeight;
    if (row >= 0 && row < rows.size() && row != selected) {
        SelectRow(row);
        emit rowChosen(row);
    }
    emit clicked();
}
