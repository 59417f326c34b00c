// Fuzz target: the simulator's receiver and controller taking whatever arrives on the line.
//
// Input: byte 0 sets the size of the pieces the line delivers (1 to 256 bytes, as reads of the
// pseudo-terminal return them); the rest is the byte stream. As the simulator does, each piece
// is fed to the receiver and every frame it completes is answered by the controller.
//
// Checks after every piece: each frame starts with the sync byte, is as long as its length
// byte says (at least 4) and sums to 0xFF; each reply is empty or such a frame for the same
// command; no byte is lost or counted twice (frames + dropped + held back = bytes fed). What
// is held back is the end of the stream: less than the largest frame, starting with a sync
// byte, and with no complete frame after that byte (a stray sync byte must not hold back a
// request that has fully arrived). After the stream, a run of live-data requests longer than
// any frame comes through: the receiver is back in step, the last frame is the request and
// nothing is held back.
#include <algorithm>
#include <vector>

#include "Controller.h"
#include "FuzzInput.h"
#include "RequestParser.h"
#include "protocol/Requests.h"

namespace {

constexpr size_t LargestFrame = 255;

// Whether a whole frame starts at `bytes`, within the `available` bytes there.
bool FrameAt(const uint8_t* bytes, size_t available) {
    if (available < 4 || bytes[0] != FrameSyncByte || bytes[1] < 4 || bytes[1] > available) {
        return false;
    }
    TFrameChecksum sum;
    for (size_t i = 0; i < bytes[1]; ++i) {
        sum.Add(bytes[i]);
    }
    return sum.Sum() == 0xFF;
}

bool IsFrame(const std::vector<uint8_t>& bytes) {
    return FrameAt(bytes.data(), bytes.size()) && bytes[1] == bytes.size();
}

class TLine {
public:
    explicit TLine(size_t pieceSize) : FPieceSize(pieceSize) {}

    void Deliver(const uint8_t* data, size_t size) {
        for (size_t at = 0; at < size; at += FPieceSize) {
            Piece(data + at, std::min(FPieceSize, size - at));
        }
    }
    const TFrame& LastFrame() const { return FLastFrame; }
    size_t Pending() const { return FParser.Pending(); }

private:
    void Piece(const uint8_t* data, size_t size) {
        FStream.insert(FStream.end(), data, data + size);
        for (const TFrame& frame : FParser.Feed(data, size)) {
            FUZZ_CHECK(IsFrame(frame));
            FFramed += frame.size();
            const std::vector<uint8_t> reply = FController.Answer(frame, 0.1 * FPieces);
            FUZZ_CHECK(reply.empty() || (IsFrame(reply) && reply[2] == (frame[2] | 1)));
            FLastFrame = frame;
        }
        ++FPieces;
        FUZZ_CHECK(FFramed + FParser.DroppedBytes() + FParser.Pending() == FStream.size());
        CheckHeldBack();
    }

    void CheckHeldBack() const {
        const size_t pending = FParser.Pending();
        FUZZ_CHECK(pending < LargestFrame);
        const uint8_t* held = FStream.data() + FStream.size() - pending;
        FUZZ_CHECK(pending == 0 || held[0] == FrameSyncByte);
        for (size_t p = 1; p < pending; ++p) {
            FUZZ_CHECK(!FrameAt(held + p, pending - p));
        }
    }

    size_t FPieceSize;
    TRequestParser FParser;
    TWbxController FController;
    TFrame FLastFrame;
    std::vector<uint8_t> FStream; // every byte fed so far
    size_t FFramed = 0;
    size_t FPieces = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TFuzzInput in(data, size);
    TLine line(size_t{in.Byte()} + 1);
    const std::string stream = in.Rest();
    line.Deliver(reinterpret_cast<const uint8_t*>(stream.data()), stream.size());

    const TFrame request = {FrameSyncByte, LiveDataFrameLength, CmdLiveData, 0x15};
    std::vector<uint8_t> requests;
    while (requests.size() <= LargestFrame + request.size()) {
        requests.insert(requests.end(), request.begin(), request.end());
    }
    line.Deliver(requests.data(), requests.size());
    FUZZ_CHECK(line.LastFrame() == request);
    FUZZ_CHECK(line.Pending() == 0);
    return 0;
}
