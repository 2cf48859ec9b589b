#include "ChannelState.h"

#include <algorithm>

namespace {

constexpr uint8_t kDataEntryMsb = 6, kDataEntryLsb = 38;
constexpr uint8_t kNrpnLsb = 98, kNrpnMsb = 99, kRpnLsb = 100, kRpnMsb = 101;
constexpr uint8_t kResetAllControllers = 121;
constexpr uint8_t kNull = 127;

// The controllers a reset-all-controllers sets back to their defaults (as General MIDI
// devices do): modulation, expression, the pedals, and the parameter selections.
bool ClearedByReset(uint8_t controller) {
    return controller == 1 || controller == 11 || (controller >= 64 && controller <= 67) ||
           (controller >= kNrpnLsb && controller <= kRpnMsb);
}

}  // namespace

ChannelState::Parameter& ChannelState::Selected() {
    Parameter wanted;
    wanted.registered = registeredSelectedLast;
    wanted.msb = (registeredSelectedLast ? rpnMsb : nrpnMsb).value_or(kNull);
    wanted.lsb = (registeredSelectedLast ? rpnLsb : nrpnLsb).value_or(kNull);
    auto found = std::find_if(parameters.begin(), parameters.end(), [&](const Parameter& p) {
        return p.registered == wanted.registered && p.msb == wanted.msb && p.lsb == wanted.lsb;
    });
    if (found != parameters.end()) {
        wanted = *found;
        parameters.erase(found);
    }
    parameters.push_back(wanted);  // the latest value goes last
    return parameters.back();
}

void ChannelState::ForgetWhatAResetClears() {
    for (auto it = controllers.begin(); it != controllers.end();)
        it = ClearedByReset(it->first) ? controllers.erase(it) : std::next(it);
    rpnMsb = rpnLsb = nrpnMsb = nrpnLsb = std::nullopt;
    pressure.reset();
    bend.reset();
}

void ChannelState::Apply(const TimedMessage& m) {
    switch (m.status & 0xF0) {
        case 0xC0: program = m.data1; return;
        case 0xD0: pressure = m.data1; return;
        case 0xE0: bend = std::pair{m.data1, m.data2}; return;
        case 0xB0: break;
        default: return;
    }
    switch (m.data1) {
        case kResetAllControllers:
            resetUsed = true;
            ForgetWhatAResetClears();
            return;
        case kRpnMsb: rpnMsb = m.data2; registeredSelectedLast = true; return;
        case kRpnLsb: rpnLsb = m.data2; registeredSelectedLast = true; return;
        case kNrpnMsb: nrpnMsb = m.data2; registeredSelectedLast = false; return;
        case kNrpnLsb: nrpnLsb = m.data2; registeredSelectedLast = false; return;
        case kDataEntryMsb:
        case kDataEntryLsb: {
            const bool none = (registeredSelectedLast ? rpnMsb : nrpnMsb).value_or(kNull) == kNull &&
                              (registeredSelectedLast ? rpnLsb : nrpnLsb).value_or(kNull) == kNull;
            if (none) return;  // no parameter selected: a synthesizer ignores it too
            Parameter& p = Selected();
            (m.data1 == kDataEntryMsb ? p.dataMsb : p.dataLsb) = m.data2;
            return;
        }
        default: controllers[m.data1] = m.data2;
    }
}

void ChannelState::Restore(uint8_t channel, int64_t tick, std::vector<TimedMessage>& out) const {
    const auto control = [&](uint8_t controller, uint8_t value) {
        out.push_back(TimedMessage::Make(tick, static_cast<uint8_t>(0xB0 | channel), controller, value));
    };
    if (program) out.push_back(TimedMessage::Make(tick, static_cast<uint8_t>(0xC0 | channel), *program));
    if (resetUsed) control(kResetAllControllers, 0);
    for (const Parameter& p : parameters) {
        control(p.registered ? kRpnMsb : kNrpnMsb, p.msb);
        control(p.registered ? kRpnLsb : kNrpnLsb, p.lsb);
        if (p.dataMsb) control(kDataEntryMsb, *p.dataMsb);
        if (p.dataLsb) control(kDataEntryLsb, *p.dataLsb);
    }
    // The selection in force, the kind selected last going last.
    const auto select = [&](bool registered) {
        const auto& msb = registered ? rpnMsb : nrpnMsb;
        const auto& lsb = registered ? rpnLsb : nrpnLsb;
        if (msb) control(registered ? kRpnMsb : kNrpnMsb, *msb);
        if (lsb) control(registered ? kRpnLsb : kNrpnLsb, *lsb);
    };
    select(!registeredSelectedLast);
    select(registeredSelectedLast);
    for (const auto& [controller, value] : controllers) control(controller, value);
    if (pressure) out.push_back(TimedMessage::Make(tick, static_cast<uint8_t>(0xD0 | channel), *pressure));
    if (bend) out.push_back(TimedMessage::Make(tick, static_cast<uint8_t>(0xE0 | channel), bend->first, bend->second));
}
