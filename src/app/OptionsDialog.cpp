#include "OptionsDialog.h"

#include "TestPlayKeys.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>
#include <functional>

namespace {

// The note interval slider runs the other way: further right is a smaller interval, which
// spreads the notes further apart.
constexpr int kIntervalMirror = 20;
constexpr int kLongLengths[3] = {192, 384, 768};

QSlider* Slider(int low, int high, int tick, QWidget* parent) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(low, high);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(tick);
    return slider;
}

// A slider with its value and unit beside it, kept up to date as it moves.
QWidget* WithValue(QSlider* slider, const std::function<QString(int)>& text) {
    auto* row = new QWidget(slider->parentWidget());
    auto* value = new QLabel(row);
    value->setObjectName("value");
    value->setMinimumWidth(value->fontMetrics().horizontalAdvance("00.00 s_"));
    auto show = [value, text](int v) { value->setText(text(v)); };
    QObject::connect(slider, &QSlider::valueChanged, value, show);
    show(slider->value());
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    slider->setParent(row);
    layout->addWidget(slider, 1);
    layout->addWidget(value);
    return row;
}

}  // namespace

OptionsDialog::OptionsDialog(const AppSettings& settings, const QStringList& trackRows,
                             const QStringList& ports, int currentPort, QWidget* owner)
    : QDialog(owner) {
    setWindowTitle("OPTION");

    auto* display = new QGroupBox("DISPLAY OPTIONS", this);
    frameSkip = Slider(0, 80, 40, display);
    interval = Slider(5, 15, 5, display);
    scroll = Slider(50, 150, 50, display);
    beatLines = new QCheckBox("Beat and measure lines", display);
    auto* displayForm = new QFormLayout(display);
    displayForm->addRow("Frame Skip", WithValue(frameSkip, [](int v) { return QString("%1 ms").arg(v); }));
    displayForm->addRow("Note Interval",
                        WithValue(interval, [](int v) { return QString::number(kIntervalMirror - v); }));
    displayForm->addRow("Scroll Speed", WithValue(scroll, [](int v) { return QString("%1 %").arg(v); }));
    displayForm->addRow(beatLines);

    auto* notes = new QGroupBox("NOTE OPTIONS", this);
    auto* longBox = new QGroupBox("Minimum Long Note Length", notes);
    auto* beatRow = new QHBoxLayout(longBox);
    auto* group = new QButtonGroup(this);
    const char* beatNames[3] = {"1 Beat", "2 Beat", "4 Beat"};
    for (int i = 0; i < 3; ++i) {
        beats[i] = new QRadioButton(beatNames[i], longBox);
        group->addButton(beats[i], i);
        beatRow->addWidget(beats[i]);
    }

    auto* windBox = new QGroupBox("Wind Instrument Length Edit", notes);
    edit = new QCheckBox("Option to Edit", windBox);
    windControls = new QWidget(windBox);
    wind = Slider(2, 10, 1, windControls);
    instrument = new QComboBox(windControls);
    instrument->addItems(trackRows);
    auto* windForm = new QFormLayout(windControls);
    windForm->setContentsMargins(0, 0, 0, 0);
    // Each step of the trim is 50 ms: 2 is 0.1 s, 10 is 0.5 s.
    windForm->addRow("Length Decrease",
                     WithValue(wind, [](int v) { return QString("%1 s").arg(v * 0.05, 0, 'f', 2); }));
    windForm->addRow("Inst.", instrument);
    auto* windLayout = new QVBoxLayout(windBox);
    windLayout->addWidget(edit);
    windLayout->addWidget(windControls);
    windLayout->addWidget(new QLabel("Using this Option may occur Fatal Error", windBox));
    connect(edit, &QCheckBox::toggled, this, &OptionsDialog::EnableWindControls);

    classicKeys = new QCheckBox("Classic keys: Ctrl+Z deletes all notes of the track", notes);
    auto* noteLayout = new QVBoxLayout(notes);
    noteLayout->addWidget(longBox);
    noteLayout->addWidget(windBox);
    noteLayout->addWidget(classicKeys);

    auto* testBox = new QGroupBox("TEST PLAY", this);
    auto* testForm = new QFormLayout(testBox);
    auto* keyRow = new QHBoxLayout;
    for (std::size_t lane = 0; lane < testKeys.size(); ++lane) {
        testKeys[lane] = new QKeySequenceEdit(testBox);
        testKeys[lane]->setToolTip(QString("Lane %1").arg(lane + 1));
        keyRow->addWidget(testKeys[lane]);
    }
    testForm->addRow("Keys", keyRow);
    offset = new QSpinBox(testBox);
    offset->setRange(-300, 300);
    offset->setSuffix(" ms");
    offset->setToolTip("Taken off every key press: set it positive when you hear late");
    testForm->addRow("Audio offset", offset);

    auto* portBox = new QGroupBox("MIDI PORT", this);
    port = new QComboBox(portBox);
    port->addItems(ports);
    port->setCurrentIndex(currentPort);
    connect(port, &QComboBox::activated, this, [this](int index) {
        if (!changePort) return;
        const QSignalBlocker quiet(port);
        port->setCurrentIndex(changePort(index));
    });
    auto* portForm = new QFormLayout(portBox);
    portForm->addRow("Midi Out Port", port);

    auto* ok = new QPushButton("OK", this);
    auto* cancel = new QPushButton("CANCEL", this);
    auto* defaults = new QPushButton("DEFAULT", this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(defaults, &QPushButton::clicked, this, [this] { Show(AppSettings{}); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(defaults);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(display);
    layout->addWidget(notes);
    layout->addWidget(testBox);
    layout->addWidget(portBox);
    layout->addLayout(buttons);
    Show(settings);
}

void OptionsDialog::Show(const AppSettings& s) {
    frameSkip->setValue(s.frameSkip);
    interval->setValue(kIntervalMirror - s.interval);
    scroll->setValue(s.scroll);
    wind->setValue(s.windLengthDecrease);
    beatLines->setChecked(s.beatLines);
    classicKeys->setChecked(!s.ctrlZUndoes);
    const QStringList keys = TestKeyNames(s.testKeys);
    for (std::size_t lane = 0; lane < testKeys.size(); ++lane)
        testKeys[lane]->setKeySequence(QKeySequence::fromString(keys[static_cast<int>(lane)]));
    offset->setValue(s.offsetMs);
    // Any value but the two shorter lengths shows as four beats.
    beats[s.longLength == 192 ? 0 : s.longLength == 384 ? 1 : 2]->setChecked(true);
    edit->setChecked(false);
    EnableWindControls(false);
}

void OptionsDialog::EnableWindControls(bool on) {
    windControls->setEnabled(on);
}

AppSettings OptionsDialog::Applied(AppSettings s) const {
    s.frameSkip = frameSkip->value();
    s.interval = kIntervalMirror - interval->value();
    s.scroll = scroll->value();
    s.windLengthDecrease = wind->value();
    s.beatLines = beatLines->isChecked();
    s.ctrlZUndoes = !classicKeys->isChecked();
    QStringList keys;
    // A key each: the first of what was typed.
    for (QKeySequenceEdit* key : testKeys)
        keys << (key->keySequence().isEmpty() ? QString() : QKeySequence(key->keySequence()[0]).toString());
    s.testKeys = keys.join(",").toStdString();
    s.offsetMs = offset->value();
    for (int i = 0; i < 3; ++i) {
        if (beats[i]->isChecked()) s.longLength = kLongLengths[i];
    }
    return s;
}

std::optional<int> OptionsDialog::TrimTrack() const {
    if (!edit->isChecked() || instrument->currentIndex() < 0) return std::nullopt;
    return instrument->currentIndex();
}
