// libFuzzer target for what a serial server sends: the Telnet decoder and the RFC 2217 client
// session that reads its negotiations and acknowledgements.
//
// Input: the first byte holds the speed asked (bit 0: 19200, else 9600), whether the settings
// change halfway (bit 1) and the size of the pieces the rest arrives in (bits 2-7, plus one);
// the rest is what the server sends.

#include "com_port_session.h"
#include "fuzz_require.h"

#include <cstdint>

namespace {

// The line's data and the commands, read in pieces of the given size.
std::pair<QByteArray, QList<telnet::Event>> decode(const QByteArray &bytes, qsizetype pieceSize)
{
    std::pair<QByteArray, QList<telnet::Event>> out;
    telnet::Decoder decoder;
    for (qsizetype at = 0; at < bytes.size(); at += pieceSize)
        decoder.feed(bytes.mid(at, pieceSize), &out.first, &out.second);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const int baudRate = (data[0] & 1) ? 19200 : 9600;
    bool change = data[0] & 2;
    const qsizetype pieceSize = (data[0] >> 2) + 1;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    // However the bytes are cut, the decoder reads the same, and gives out no more than came in.
    const auto whole = decode(bytes, bytes.size() + 1);
    require(decode(bytes, pieceSize) == whole && whole.first.size() <= bytes.size());

    // A failure is final and explained; ready means the server took the option; what the
    // session answers is Telnet commands only.
    ComPortSession session(LineSettings{baudRate});
    QByteArray sent = session.begin();
    bool failed = false;
    for (qsizetype at = 0; at < bytes.size(); at += pieceSize) {
        if (change && at >= bytes.size() / 2) {
            sent += session.changeSettings(LineSettings{baudRate == 9600 ? 19200 : 9600});
            change = false;
        }
        const ComPortSession::Step step = session.receive(bytes.mid(at, pieceSize));
        sent += step.reply;
        require(step.data.size() <= pieceSize);
        require(!failed || session.state() == ComPortSession::State::Failed);
        failed = session.state() == ComPortSession::State::Failed;
        require(failed == (session.failure() != ComPortSession::Failure::None) &&
                failed == !session.refusal().isEmpty());
        require(session.state() != ComPortSession::State::Ready || session.comPortAnswered());
    }
    require(decode(sent, sent.size() + 1).first.isEmpty());
    return 0;
}
