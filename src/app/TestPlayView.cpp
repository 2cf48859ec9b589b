#include "TestPlayView.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace {

constexpr int kChartColumn = 8;  // the chart area's first column

}  // namespace

QString JudgementText(const TestPlayRun::Shown& shown) {
    if (shown.judgement == Judgement::None) return {};
    QString text = JudgementName(shown.judgement);
    if (shown.deltaMs) {
        const long delta = std::lround(*shown.deltaMs);
        text += QString(" %1%2 ms").arg(delta > 0 ? "+" : delta < 0 ? "\u2212" : "").arg(std::labs(delta));
    }
    return text;
}

void PaintTestPlay(QPainter& painter, const ViewGeometry& g, const TestPlayRun& run) {
    const int left = g.ColumnX(kChartColumn);
    const int right = g.ColumnX(kChartColumn + 6) + g.laneWidth;
    for (int lane = 0; lane < Judge::kLanes; ++lane) {
        if (run.LaneDown(lane))
            painter.fillRect(g.ColumnX(kChartColumn + lane), g.margin, g.laneWidth, g.laneHeight,
                             QColor(255, 200, 0, 70));
    }
    painter.fillRect(left, g.Bottom() - 3, right - left, 3, QColor(230, 40, 40));

    const Judge& judge = run.Results();
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(16);
    painter.setFont(font);
    painter.setPen(QColor(20, 20, 20));
    const QRect band(left, g.margin + 40, right - left, 60);
    painter.fillRect(band, QColor(255, 255, 255, 200));
    const QString lines = JudgementText(run.LastShown()) + "\n" + QString("Combo %1").arg(judge.Combo()) + "   " +
                          QString("%1 %").arg(judge.Accuracy(), 0, 'f', 2);
    painter.drawText(band, Qt::AlignCenter, lines);
    if (run.Autoplay()) painter.drawText(QRect(left, g.margin + 8, right - left, 24), Qt::AlignCenter, "AUTOPLAY");
}

QString TestPlayResults::Text(const Judge& judge) {
    const JudgeCounts& c = judge.Counts();
    double sum = 0, squares = 0;
    int n = 0;
    for (const NoteResult& r : judge.Results()) {
        if (!r.deltaMs) continue;
        sum += *r.deltaMs;
        squares += *r.deltaMs * *r.deltaMs;
        ++n;
    }
    const double mean = n ? sum / n : 0;
    const double spread = n ? std::sqrt(std::max(0.0, squares / n - mean * mean)) : 0;
    return QString("PERFECT %1\nGREAT %2\nGOOD %3\nBAD %4\nMISS %5\nBREAK %6\n\nMax combo %7\nAccuracy %8 %\n"
                   "Timing: %9 ms on average, spread %10 ms")
        .arg(c.perfect)
        .arg(c.great)
        .arg(c.good)
        .arg(c.bad)
        .arg(c.miss)
        .arg(c.breaks)
        .arg(judge.MaxCombo())
        .arg(judge.Accuracy(), 0, 'f', 2)
        .arg(mean, 0, 'f', 1)
        .arg(spread, 0, 'f', 1);
}

TestPlayResults::TestPlayResults(const Judge& judge, QWidget* parent) : QDialog(parent) {
    setWindowTitle("Test Play Results");
    auto* text = new QLabel(Text(judge), this);
    text->setObjectName("results");
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* retryButton = buttons->addButton("Retry", QDialogButtonBox::AcceptRole);
    QPushButton* close = buttons->addButton("Close", QDialogButtonBox::RejectRole);
    close->setDefault(true);
    connect(retryButton, &QPushButton::clicked, this, [this] {
        retry = true;
        accept();
    });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
}
