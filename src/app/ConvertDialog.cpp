#include "ConvertDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

ConvertDialog::ConvertDialog(ConversionSession& session, QWidget* owner) : QDialog(owner), session(session) {
    setWindowTitle("Convert MIDI");
    auto* total = new QGroupBox("Total Process", this);
    bar = new QProgressBar(total);
    bar->setRange(0, ConversionLog::kProgressSteps);
    bar->setTextVisible(false);
    status = new QLabel(total);
    status->setAlignment(Qt::AlignCenter);
    auto* grid = new QGridLayout(total);
    grid->addWidget(bar, 0, 0, 1, 3);
    grid->addWidget(new QLabel("0%", total), 1, 0);
    grid->addWidget(status, 1, 1);
    grid->addWidget(new QLabel("100%", total), 1, 2, Qt::AlignRight);
    grid->setColumnStretch(1, 1);

    log = new QPlainTextEdit(this);
    log->setReadOnly(true);
    log->setLineWrapMode(QPlainTextEdit::NoWrap);
    log->setFocusPolicy(Qt::NoFocus);
    log->setMinimumSize(340, 150);
    // Lets the log scroll until its top line is the multiple of six the session asks for, even
    // near the end of the text.
    log->setCenterOnScroll(true);

    ok = new QPushButton("OK", this);
    cancel = new QPushButton("CANCEL", this);
    ok->setDefault(true);
    ok->setAutoDefault(true);
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &ConvertDialog::PressOk);
    connect(cancel, &QPushButton::clicked, this, [this] {
        this->session.Cancel();
        QDialog::reject();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(total);
    layout->addWidget(log, 1);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    session.log.onChange = [this](const ConversionLog&) { Refresh(); };
}

void ConvertDialog::ShowPrepared() {
    Refresh();
    show();
    raise();
    activateWindow();
    ok->setFocus();
}

void ConvertDialog::PressOk() {
    const ConversionSession::State before = session.state;
    const ConversionSession::Outcome outcome = session.Ok();
    Refresh();
    if (before == ConversionSession::State::Prepared &&
        session.state == ConversionSession::State::Converted && onConverted)
        onConverted();
    if (outcome == ConversionSession::Outcome::Finished) {
        if (onFinished) onFinished();
        accept();
    }
}

void ConvertDialog::reject() {
    // Once the chart is replaced, closing the window finishes the conversion as OK would: a
    // chart without its song could not be saved or played.
    if (session.state == ConversionSession::State::Converted) {
        PressOk();
        if (isVisible()) QDialog::reject();
        return;
    }
    if (!cancel->isEnabled()) return;  // working: nothing to cancel yet
    session.Cancel();
    QDialog::reject();
}

void ConvertDialog::Refresh() {
    const ConversionLog& text = session.log;
    bar->setValue(text.ProgressPos());
    status->setText(QString::fromStdString(text.Status()));
    QString shown = QString::fromStdString(text.Text());
    shown.replace("\r\n", "\n");
    if (log->toPlainText() != shown) log->setPlainText(shown);
    // The log scrolls in whole sixes of lines.
    log->verticalScrollBar()->setValue(text.TopLine());
    ok->setEnabled(session.okEnabled);
    cancel->setEnabled(session.cancelEnabled);
    if (ok->isEnabled() && isVisible()) ok->setFocus();
    repaint();
}
