// libFuzzer target for what a PJLink client sends: the line framing, the login on the first
// line and the reading of every line after it, answered with nothing known and with the power on.
//
// Input: the first byte chooses a password (bit 0, "secret", random number 498e4a67) and the
// size of the pieces the rest arrives in (bits 1-4, 1 to 16 bytes); the rest is the stream.

#include "fuzz_require.h"
#include "line_framer.h"
#include "pjlink_auth.h"
#include "pjlink_protocol.h"

#include <QByteArray>

#include <cstdint>
#include <utility>

namespace {

constexpr qsizetype LineLimit = pjlink::MaxCommandLength + PjlinkLogin::DigestLength;

// One reply to the request's header: upper-case header, "=", at most 136 bytes, one CR at
// its end and no other line end.
void checkReply(const QByteArray &reply, const QByteArray &header)
{
    require(reply.startsWith(header + '=') && reply.endsWith('\r'));
    require(reply.size() <= pjlink::MaxReplyLength + 1);
    require(reply.count('\r') == 1 && !reply.contains('\n'));
}

void answer(const QByteArray &line)
{
    const std::optional<pjlink::Request> request = pjlink::readLine(line);
    if (!request)
        return;
    const QByteArray &header = request->header;
    require(header.size() == 6 && header.startsWith('%') && header == header.toUpper());
    for (const QByteArray &code : pjlink::statusReads(*request))
        require(findStateQuery(code) != nullptr);
    // Nothing known, and the projector on with nothing else known (sets are carried out then;
    // the values of queries come from the state alone, not from the line).
    static const ProjectorState on{.power = PowerReading{PowerPhase::On}};
    for (const ProjectorState &state : {ProjectorState{}, on}) {
        const pjlink::Step step = pjlink::step(*request, state, {"hall", "1.40"});
        if (const auto *reply = std::get_if<QByteArray>(&step)) {
            checkReply(*reply, header);
            continue;
        }
        require(request->set && !std::get<QByteArrayList>(step).isEmpty());
        for (const Outcome outcome : {Outcome::Ack, Outcome::Refused, Outcome::NoReply})
            checkReply(pjlink::commandReply(header, outcome), header);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const PjlinkLogin login(data[0] & 1 ? std::optional<QByteArray>("secret") : std::nullopt,
                            "498e4a67");
    const qsizetype piece = 1 + (data[0] >> 1) % 16;
    const QByteArrayView stream(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    LineFramer framer(LineLimit, LineFramer::Ends::AnyLineEnd);
    bool admitted = false;
    for (qsizetype at = 0; at < stream.size(); at += piece) {
        for (const LineFramer::Line &line :
             framer.feed(stream.sliced(at).first(std::min(piece, stream.size() - at)))) {
            require(line.text.size() <= LineLimit);
            require(!line.text.contains('\r') && !line.text.contains('\n'));
            if (line.text.isEmpty())
                continue;
            if (admitted) {
                answer(line.text);
                continue;
            }
            const std::optional<QByteArray> command = login.admit(line.text);
            if (!command)
                return 0; // the connection is closed
            admitted = true;
            answer(*command);
        }
        require(framer.pending() <= LineLimit);
    }
    return 0;
}
