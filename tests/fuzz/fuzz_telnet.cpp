// libFuzzer target for what a serial server sends: the Telnet decoder and the RFC 2217 client
// session that reads its negotiations and acknowledgements.
//
// Input: the first byte holds the speed asked (bit 0: 19200, else 9600), whether the settings
// change halfway (bit 1) and the size of the pieces the rest arrives in (bits 2-7, plus one);
// the rest is what the server sends.

#include "com_port_session.h"
#include "telnet_codec.h"

#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

LineSettings settingsAt(int baudRate)
{
    LineSettings settings;
    settings.baudRate = baudRate;
    return settings;
}

struct Decoded {
    QByteArray data;
    QList<telnet::Event> events;
};

Decoded decode(const QByteArray &bytes, qsizetype pieceSize)
{
    Decoded out;
    telnet::Decoder decoder;
    for (qsizetype at = 0; at < bytes.size(); at += pieceSize)
        decoder.feed(bytes.mid(at, pieceSize), &out.data, &out.events);
    return out;
}

// However the bytes are cut, the decoder reads the same; nothing it gives out is longer than
// what came in.
void checkDecoder(const QByteArray &bytes, qsizetype pieceSize)
{
    const Decoded whole = decode(bytes, bytes.size() + 1);
    const Decoded pieces = decode(bytes, pieceSize);
    require(whole.data == pieces.data && whole.events == pieces.events);
    require(whole.data.size() <= bytes.size());
    for (const telnet::Event &event : whole.events)
        require(event.payload.size() <= telnet::Decoder::MaxPayload);
}

// A failure is final and explained; ready means the server took the option; what the session
// answers is Telnet commands only.
void checkSession(const QByteArray &bytes, qsizetype pieceSize, int baudRate, bool change)
{
    ComPortSession session(settingsAt(baudRate));
    QByteArray sent = session.begin();
    qsizetype dataSize = 0;
    bool failed = false;
    for (qsizetype at = 0; at < bytes.size(); at += pieceSize) {
        if (change && at >= bytes.size() / 2) {
            sent += session.changeSettings(settingsAt(baudRate == 9600 ? 19200 : 9600));
            change = false;
        }
        const ComPortSession::Step step = session.receive(bytes.mid(at, pieceSize));
        sent += step.reply;
        dataSize += step.data.size();
        const bool nowFailed = session.state() == ComPortSession::State::Failed;
        require(nowFailed || !failed);
        failed = nowFailed;
        require(failed == (session.failure() != ComPortSession::Failure::None));
        require(failed == !session.refusal().isEmpty());
        require(session.state() != ComPortSession::State::Ready || session.comPortAnswered());
    }
    require(dataSize <= bytes.size());
    require(decode(sent, sent.size() + 1).data.isEmpty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const int baudRate = (data[0] & 1) ? 19200 : 9600;
    const bool change = data[0] & 2;
    const qsizetype pieceSize = (data[0] >> 2) + 1;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    checkDecoder(bytes, pieceSize);
    checkSession(bytes, pieceSize, baudRate, change);
    return 0;
}
