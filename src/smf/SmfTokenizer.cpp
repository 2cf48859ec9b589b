#include "SmfTokenizer.h"

#include "LibEvent.h"

bool SmfTokenizer::Next(SmfToken& token) {
    uint8_t first = 0;
    token = SmfToken{};
    if (!in.ReadVarLen(token.delta) || !in.Peek(first)) return false;

    if (first < 0xF0) {
        if (first >= 0x80) {
            runningStatus = first;
            in.Skip(1);
        } else if (runningStatus == 0 && !options.dataWithoutStatus) {
            return false;
        }
        token.kind = SmfToken::Kind::Channel;
        token.status = runningStatus;
        if (!in.ReadU8(token.data1)) return false;
        return ChannelDataBytes(runningStatus) == 1 || in.ReadU8(token.data2);
    }

    in.Skip(1);
    token.status = first;
    uint32_t length = 0;
    if (first == 0xF0 || (first == 0xF7 && options.escapedSysEx)) {
        token.kind = SmfToken::Kind::SysEx;
        return in.ReadVarLen(length) && in.ReadSpan(length, token.payload);
    }
    if (first != 0xFF) return false;
    token.kind = SmfToken::Kind::Meta;
    return in.ReadU8(token.metaType) && in.ReadVarLen(length) && in.ReadSpan(length, token.payload);
}
