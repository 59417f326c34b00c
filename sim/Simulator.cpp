#include "Simulator.h"

#include <cerrno>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>

#include "ReplyPlan.h"

namespace {

using TClock = std::chrono::steady_clock;

// ppoll time-out until `deadline`; null (wait forever) for the far future.
bool TimeoutUntil(TClock::time_point deadline, timespec& ts) {
    if (deadline == TClock::time_point::max()) {
        return false;
    }
    const auto left = std::max(deadline - TClock::now(), TClock::duration::zero());
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
    ts.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
    ts.tv_nsec = static_cast<long>(ns % 1'000'000'000);
    return true;
}

} // namespace

std::string DeviceLinkName(int portNumber) {
    return "platform-wbx4100-sim-usb-0:" + std::to_string(portNumber) + ":1.0-port0";
}

TWbxSimulator::TWbxSimulator(const TSimConfig& config)
    : FScenario(config.Scenario), FDeviceLinks(config.DeviceLinks), FRenumber(config.Renumber) {
    FController.Live() = config.Live;
    TControllerMemory& memory = FController.Memory();
    memory.SetCalRich(config.Cal);
    memory.SetCalLean(config.Cal);
    memory.SetFirmware(config.Firmware);
    memory.SetCanAddress(config.CanAddress);
    memory.SetCanSpeed(config.CanSpeed);
    FWakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (FWakeFd < 0) {
        throw std::system_error(errno, std::generic_category(), "eventfd");
    }
}

TWbxSimulator::~TWbxSimulator() {
    Stop();
    close(FWakeFd);
}

void TWbxSimulator::Start(const std::string& portDirectory, int portNumber) {
    if (FThread.joinable()) {
        throw std::logic_error("simulator already running");
    }
    auto terminal = std::make_unique<TPseudoTerminal>();
    FHeld.reset();
    FLink.Publish(portDirectory, portNumber, terminal->SlavePath());
    if (!FDeviceLinks.empty()) {
        FDeviceLink.PublishAs(FDeviceLinks + "/by-path", DeviceLinkName(portNumber),
                              terminal->SlavePath());
    }
    FTerminal = std::move(terminal);
    FParser = TRequestParser();
    {
        std::lock_guard<std::mutex> guard(FLock);
        FPortDirectory = portDirectory;
        FPortNumber = portNumber;
        FSlavePath = FTerminal->SlavePath();
        FLinkPath = FLink.Path();
        FStartTime = TClock::now();
        FRunning = true;
        FStopRequested = false;
        FDisconnected = false;
    }
    FLineRecord.Note("publish " + FLink.Path() + " -> " + FSlavePath);
    FThread = std::thread([this] { Serve(); });
}

void TWbxSimulator::Stop() {
    if (FThread.joinable()) {
        {
            std::lock_guard<std::mutex> guard(FLock);
            FStopRequested = true;
        }
        Wake();
        FThread.join();
    }
    EndLine();
    std::lock_guard<std::mutex> guard(FLock);
    FRunning = false;
    FLinkPath.clear();
    FChanged.notify_all();
}

void TWbxSimulator::Restart() {
    std::string directory;
    int port = 0;
    {
        std::lock_guard<std::mutex> guard(FLock);
        directory = FPortDirectory;
        port = FPortNumber;
    }
    if (directory.empty()) {
        throw std::logic_error("simulator was never started");
    }
    Stop();
    Start(directory, port);
}

void TWbxSimulator::Serve() {
    ServeLine();
    std::lock_guard<std::mutex> guard(FLock);
    FRunning = false;
    FChanged.notify_all();
}

// The serving loop: waits on the line and on the wake-up event together, so it sleeps until
// a request arrives, a stop is asked for, or the disconnect time comes.
void TWbxSimulator::ServeLine() {
    for (;;) {
        TClock::time_point disconnectAt = TClock::time_point::max();
        {
            std::lock_guard<std::mutex> guard(FLock);
            if (FStopRequested) {
                return;
            }
            if (FScenario.DisconnectAfter) {
                disconnectAt = FStartTime + *FScenario.DisconnectAfter;
            }
        }
        if (TClock::now() >= disconnectAt) {
            DisconnectLine();
            return;
        }
        pollfd fds[2] = {{FTerminal->MasterFd(), POLLIN, 0}, {FWakeFd, POLLIN, 0}};
        timespec ts{};
        const bool timed = TimeoutUntil(disconnectAt, ts);
        const int rc = ppoll(fds, 2, timed ? &ts : nullptr, nullptr);
        if (rc < 0 && errno != EINTR) {
            return;
        }
        if (fds[1].revents & POLLIN) {
            uint64_t count = 0;
            [[maybe_unused]] ssize_t n = read(FWakeFd, &count, sizeof count);
        }
        if ((fds[0].revents & POLLIN) && !HandleInput()) {
            return;
        }
        if ((fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) && !(fds[0].revents & POLLIN)) {
            return; // the line failed under us; nothing more will arrive
        }
    }
}

// Reads what the utility sent, records each complete request and answers it. False when
// the thread has to end (stop asked for, or the line failed).
bool TWbxSimulator::HandleInput() {
    uint8_t buffer[512];
    const ssize_t n = read(FTerminal->MasterFd(), buffer, sizeof buffer);
    if (n < 0) {
        return errno == EAGAIN || errno == EINTR;
    }
    if (n == 0) {
        return true;
    }
    for (TFrame& frame : FParser.Feed(buffer, static_cast<size_t>(n))) {
        std::vector<uint8_t> reply;
        TSimScenario scenario;
        {
            std::lock_guard<std::mutex> guard(FLock);
            FRecord.push_back({frame, TClock::now()});
            FLineRecord.Request(frame);
            reply = FController.Answer(frame, SecondsSinceStart());
            scenario = FScenario;
            FChanged.notify_all();
        }
        if (!WriteReply(reply, scenario)) {
            return false;
        }
    }
    return true;
}

bool TWbxSimulator::WriteReply(const std::vector<uint8_t>& reply, const TSimScenario& scenario) {
    const std::vector<TLineWrite> plan = PlanReply(reply, scenario);
    if (plan.empty()) {
        return true;
    }
    const TClock::time_point start = TClock::now();
    for (const TLineWrite& write : plan) {
        if (write.At > std::chrono::nanoseconds::zero() && !WaitUntil(start + write.At)) {
            return false;
        }
        if (!WriteAll(write.Bytes)) {
            return false;
        }
    }
    FLineRecord.Reply(reply);
    std::lock_guard<std::mutex> guard(FLock);
    ++FRepliesSent;
    FChanged.notify_all();
    return true;
}

// Writes all bytes; false only when a stop is asked for. Bytes that find no room in the
// line's buffer within a second (nobody reading the port) are dropped, as the utility has long
// given up on the reply by then.
bool TWbxSimulator::WriteAll(const std::vector<uint8_t>& bytes) {
    const TClock::time_point giveUp = TClock::now() + std::chrono::seconds(1);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(FTerminal->MasterFd(), bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN && TClock::now() < giveUp) {
            if (!WaitWritable(giveUp)) {
                return false;
            }
        } else {
            return !StopRequested();
        }
    }
    return true;
}

// Sleeps until `deadline` unless a stop is asked for (false then).
bool TWbxSimulator::WaitUntil(TClock::time_point deadline) {
    for (;;) {
        if (StopRequested()) {
            return false;
        }
        if (TClock::now() >= deadline) {
            return true;
        }
        pollfd fd{FWakeFd, POLLIN, 0};
        timespec ts{};
        TimeoutUntil(deadline, ts);
        if (ppoll(&fd, 1, &ts, nullptr) > 0) {
            uint64_t count = 0;
            [[maybe_unused]] ssize_t n = read(FWakeFd, &count, sizeof count);
        }
    }
}

// Waits until the line takes bytes again or `deadline` passes; false when a stop is asked for.
bool TWbxSimulator::WaitWritable(TClock::time_point deadline) {
    pollfd fds[2] = {{FTerminal->MasterFd(), POLLOUT, 0}, {FWakeFd, POLLIN, 0}};
    timespec ts{};
    TimeoutUntil(deadline, ts);
    if (ppoll(fds, 2, &ts, nullptr) > 0 && (fds[1].revents & POLLIN)) {
        uint64_t count = 0;
        [[maybe_unused]] ssize_t n = read(FWakeFd, &count, sizeof count);
    }
    return !StopRequested();
}

bool TWbxSimulator::StopRequested() {
    std::lock_guard<std::mutex> guard(FLock);
    return FStopRequested;
}

void TWbxSimulator::Wake() {
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(FWakeFd, &one, sizeof one);
}

// Hangs the line up and takes its links away; a renumbering line keeps its number taken
// until the next line is made.
void TWbxSimulator::EndLine() {
    FLink.Remove();
    FDeviceLink.Remove();
    if (FTerminal && FRenumber) {
        FTerminal->Hangup();
        FHeld = std::move(FTerminal);
    }
    FTerminal.reset();
}

void TWbxSimulator::DisconnectLine() {
    if (FRenumber) {
        FTerminal->Hangup();
    } else {
        FTerminal->Close();
    }
    FLink.Remove();
    FDeviceLink.Remove();
    FLineRecord.Note("disconnect");
    std::lock_guard<std::mutex> guard(FLock);
    FDisconnected = true;
    FRunning = false;
    FLinkPath.clear();
    FChanged.notify_all();
}

double TWbxSimulator::SecondsSinceStart() const {
    return std::chrono::duration<double>(TClock::now() - FStartTime).count();
}

bool TWbxSimulator::Running() const {
    std::lock_guard<std::mutex> guard(FLock);
    return FRunning;
}

bool TWbxSimulator::Disconnected() const {
    std::lock_guard<std::mutex> guard(FLock);
    return FDisconnected;
}

bool TWbxSimulator::WaitForDisconnect(std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(FLock);
    return FChanged.wait_for(lock, timeout, [this] { return FDisconnected; });
}

std::string TWbxSimulator::SlavePath() const {
    std::lock_guard<std::mutex> guard(FLock);
    return FSlavePath;
}

std::string TWbxSimulator::LinkPath() const {
    std::lock_guard<std::mutex> guard(FLock);
    return FLinkPath;
}

std::string TWbxSimulator::DeviceLinkPath() const {
    std::lock_guard<std::mutex> guard(FLock);
    return FDeviceLinks.empty() || FPortNumber == 0
               ? std::string()
               : FDeviceLinks + "/by-path/" + DeviceLinkName(FPortNumber);
}

std::string TWbxSimulator::PortName() const {
    std::lock_guard<std::mutex> guard(FLock);
    return FPortNumber > 0 ? ComName(FPortNumber) : std::string();
}

void TWbxSimulator::SetLambda(double lambda) {
    std::lock_guard<std::mutex> guard(FLock);
    FController.Live().Lambda = lambda;
    FController.Live().Sweep = false;
}

void TWbxSimulator::SetSweep(bool on) {
    std::lock_guard<std::mutex> guard(FLock);
    FController.Live().Sweep = on;
}

void TWbxSimulator::SetWarmupSeconds(double seconds) {
    std::lock_guard<std::mutex> guard(FLock);
    FController.Live().WarmupSeconds = seconds;
}

void TWbxSimulator::SetSupplyVolts(double volts) {
    std::lock_guard<std::mutex> guard(FLock);
    FController.Live().SupplyVolts = volts;
}

void TWbxSimulator::SetLiveSettings(const TLiveSettings& settings) {
    std::lock_guard<std::mutex> guard(FLock);
    FController.Live() = settings;
}

TLiveSettings TWbxSimulator::LiveSettings() const {
    std::lock_guard<std::mutex> guard(FLock);
    return FController.Live();
}

void TWbxSimulator::SetCal(uint16_t cal) {
    std::lock_guard<std::mutex> guard(FLock);
    FController.Memory().SetCalRich(cal);
    FController.Memory().SetCalLean(cal);
}

void TWbxSimulator::SetCalRich(uint16_t cal) {
    std::lock_guard<std::mutex> guard(FLock);
    FController.Memory().SetCalRich(cal);
}

void TWbxSimulator::SetCalLean(uint16_t cal) {
    std::lock_guard<std::mutex> guard(FLock);
    FController.Memory().SetCalLean(cal);
}

void TWbxSimulator::SetFirmware(uint8_t version) {
    std::lock_guard<std::mutex> guard(FLock);
    FController.Memory().SetFirmware(version);
}

void TWbxSimulator::SetCanAddress(uint16_t address) {
    std::lock_guard<std::mutex> guard(FLock);
    FController.Memory().SetCanAddress(address);
}

void TWbxSimulator::SetCanSpeed(uint8_t code) {
    std::lock_guard<std::mutex> guard(FLock);
    FController.Memory().SetCanSpeed(code);
}

uint16_t TWbxSimulator::CalRich() const {
    std::lock_guard<std::mutex> guard(FLock);
    return FController.Memory().CalRich();
}

uint16_t TWbxSimulator::CalLean() const {
    std::lock_guard<std::mutex> guard(FLock);
    return FController.Memory().CalLean();
}

uint8_t TWbxSimulator::Firmware() const {
    std::lock_guard<std::mutex> guard(FLock);
    return FController.Memory().Firmware();
}

uint16_t TWbxSimulator::CanAddress() const {
    std::lock_guard<std::mutex> guard(FLock);
    return FController.Memory().CanAddress();
}

uint8_t TWbxSimulator::CanSpeed() const {
    std::lock_guard<std::mutex> guard(FLock);
    return FController.Memory().CanSpeed();
}

uint8_t TWbxSimulator::MemoryByte(uint8_t address) const {
    std::lock_guard<std::mutex> guard(FLock);
    return FController.Memory().Byte(address);
}

void TWbxSimulator::SetScenario(const TSimScenario& scenario) {
    {
        std::lock_guard<std::mutex> guard(FLock);
        FScenario = scenario;
    }
    Wake(); // a new disconnect time must reach the serving thread's wait
}

TSimScenario TWbxSimulator::Scenario() const {
    std::lock_guard<std::mutex> guard(FLock);
    return FScenario;
}

std::vector<TRequestRecord> TWbxSimulator::Requests() const {
    std::lock_guard<std::mutex> guard(FLock);
    return FRecord;
}

size_t TWbxSimulator::RequestCount() const {
    std::lock_guard<std::mutex> guard(FLock);
    return FRecord.size();
}

void TWbxSimulator::ClearRequests() {
    std::lock_guard<std::mutex> guard(FLock);
    FRecord.clear();
}

bool TWbxSimulator::WaitForRequestCount(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(FLock);
    return FChanged.wait_for(lock, timeout, [&] { return FRecord.size() >= count; });
}

std::optional<TRequestRecord>
TWbxSimulator::WaitForCommand(uint8_t command, size_t fromIndex,
                              std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(FLock);
    std::optional<TRequestRecord> found;
    FChanged.wait_for(lock, timeout, [&] {
        for (size_t i = fromIndex; i < FRecord.size(); ++i) {
            if (FRecord[i].Command() == command) {
                found = FRecord[i];
                return true;
            }
        }
        return false;
    });
    return found;
}

size_t TWbxSimulator::RepliesSent() const {
    std::lock_guard<std::mutex> guard(FLock);
    return FRepliesSent;
}

void TWbxSimulator::RecordTo(const std::string& path) {
    FLineRecord.Open(path);
}

void TWbxSimulator::Note(const std::string& text) {
    FLineRecord.Note(text);
}
