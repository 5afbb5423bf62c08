#include "SoakPlan.h"

#include <iterator>
#include <random>

#include "Wd10Learner.h"

namespace {

constexpr LineFault kLineFaults[] = {LineFault::None,      LineFault::Drop,    LineFault::Delay,
                                     LineFault::Duplicate, LineFault::Corrupt, LineFault::Silence,
                                     LineFault::Unplug};
// A Märklin interface never answers: there are no reply bytes to spoil.
constexpr LineFault kSilentInterfaceFaults[] = {LineFault::None, LineFault::Unplug};

// About how many bytes a whole run brings back from the station and how many writes the program
// makes, so that a fault can strike anywhere in the run, or only while closing.
struct Traffic {
  int replyBytes;
  int writes;
};

Traffic TrafficOf(SimulatedCentral central) {
  switch (central) {
    case SimulatedCentral::LocoNet:
      return {34, 36};  // every message echoed; one byte a write
    case SimulatedCentral::P50X:
      return {200, 150};  // interface detection's text commands go one byte a write
    case SimulatedCentral::Lenz:
      return {27, 10};
    case SimulatedCentral::Maerklin:
      return {0, 14};
    case SimulatedCentral::Srcp:
      break;
  }
  return {0, 0};
}
constexpr ServerFault kServerFaults[] = {ServerFault::None, ServerFault::Disconnect,
                                         ServerFault::Flood, ServerFault::Slow};

// Lines of the command session after which a server can vanish: in the handshake, on the first
// programming command, on a repeated one after its accessory was initialised, and on power off.
const char* const kCloseOnLines[] = {"GO", "INIT 1 POWER", "SET 6 GA", "INIT 6 GA",
                                     "SET 1 POWER OFF"};

// The highest first address each central type can program. The address field stops at 2040;
// Märklin sends the turnout as one byte and limits the field to 248; a Lenz frame reaches
// turnout 1024 after its offset of 4.
int HighestAddress(SimulatedCentral central) {
  switch (central) {
    case SimulatedCentral::Maerklin:
      return 241;
    case SimulatedCentral::Lenz:
      return 1016;
    default:
      return 2033;
  }
}

QString LineFaultName(LineFault fault) {
  switch (fault) {
    case LineFault::None:
      return QStringLiteral("none");
    case LineFault::Drop:
      return QStringLiteral("dropped reply bytes");
    case LineFault::Delay:
      return QStringLiteral("delayed reply bytes");
    case LineFault::Duplicate:
      return QStringLiteral("duplicated reply bytes");
    case LineFault::Corrupt:
      return QStringLiteral("corrupted reply bytes");
    case LineFault::Silence:
      return QStringLiteral("station falls silent");
    case LineFault::Unplug:
      return QStringLiteral("adapter unplugged");
  }
  return {};
}

QString ServerFaultName(ServerFault fault) {
  switch (fault) {
    case ServerFault::None:
      return QStringLiteral("none");
    case ServerFault::Disconnect:
      return QStringLiteral("server disconnects");
    case ServerFault::Flood:
      return QStringLiteral("server floods");
    case ServerFault::Slow:
      return QStringLiteral("server answers late");
  }
  return {};
}

}  // namespace

QString CentralName(SimulatedCentral central) {
  switch (central) {
    case SimulatedCentral::LocoNet:
      return QStringLiteral("IB/TC /LocoNet");
    case SimulatedCentral::P50X:
      return QStringLiteral("IB/TC (P50X)");
    case SimulatedCentral::Lenz:
      return QStringLiteral("Lenz/Multi-Maus");
    case SimulatedCentral::Maerklin:
      return QStringLiteral("Märklin 6050/6051");
    case SimulatedCentral::Srcp:
      return QStringLiteral("SRCP 0.8");
  }
  return {};
}

RunPlan PlanRun(int index, std::uint32_t seed) {
  std::mt19937 random(seed * 7919u + static_cast<std::uint32_t>(index));
  const auto draw = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  RunPlan plan;
  plan.index = index;
  plan.central = static_cast<SimulatedCentral>(index % kSimulatedCentrals);
  // Each central type takes its faults in turn, starting one further along than the type
  // before, so that even a short soak meets every fault.
  const int turn = index / kSimulatedCentrals + index % kSimulatedCentrals;
  if (plan.central == SimulatedCentral::Srcp) {
    plan.server.fault = kServerFaults[turn % std::size(kServerFaults)];
    plan.server.closeOnLine =
        QString::fromLatin1(kCloseOnLines[draw(0, std::size(kCloseOnLines) - 1)]);
    // The handshake takes a second after the connect button, the programming a little more.
    plan.server.floodAfterMs = draw(0, 1100);
    plan.server.floodForMs = draw(200, 3000);
    // Within the reply wait of a second: a reply later than that is given up by design.
    plan.server.replyDelayMs = draw(50, 800);
  } else {
    if (plan.central == SimulatedCentral::Maerklin)
      plan.line.fault = kSilentInterfaceFaults[turn % std::size(kSilentInterfaceFaults)];
    else
      plan.line.fault = kLineFaults[turn % std::size(kLineFaults)];
    const Traffic traffic = TrafficOf(plan.central);
    plan.line.seed = static_cast<std::uint32_t>(random());
    plan.line.bytesBeforeFaults = draw(0, traffic.replyBytes * 9 / 10);
    plan.line.percentHit = draw(5, 40);
    plan.line.longestDelayMs = draw(50, 1500);
    plan.line.bytesBeforeSilence = draw(0, traffic.replyBytes);
    plan.line.writesBeforeUnplug = draw(0, traffic.writes);
  }
  // A decoder's first address is where a block of its turnouts begins, as the spin buttons give.
  const int steps = (HighestAddress(plan.central) - 1) / Wd10::kTurnoutsPerDecoder;
  plan.address = 1 + Wd10::kTurnoutsPerDecoder * draw(0, steps);
  plan.modeButtonA = draw(1, 7);
  plan.modeButtonB = draw(8, 14);
  return plan;
}

QString RunPlan::FaultName() const {
  return central == SimulatedCentral::Srcp ? ServerFaultName(server.fault)
                                           : LineFaultName(line.fault);
}

QString RunPlan::Describe() const {
  QString fault = FaultName();
  switch (central == SimulatedCentral::Srcp ? LineFault::None : line.fault) {
    case LineFault::Drop:
    case LineFault::Duplicate:
    case LineFault::Corrupt:
      fault += QStringLiteral(" (%1 % after %2 bytes, line seed %3)")
                   .arg(line.percentHit)
                   .arg(line.bytesBeforeFaults)
                   .arg(line.seed);
      break;
    case LineFault::Delay:
      fault += QStringLiteral(" (%1 % after %2 bytes, up to %3 ms, line seed %4)")
                   .arg(line.percentHit)
                   .arg(line.bytesBeforeFaults)
                   .arg(line.longestDelayMs)
                   .arg(line.seed);
      break;
    case LineFault::Silence:
      fault += QStringLiteral(" (after %1 reply bytes)").arg(line.bytesBeforeSilence);
      break;
    case LineFault::Unplug:
      fault += QStringLiteral(" (after %1 writes)").arg(line.writesBeforeUnplug);
      break;
    case LineFault::None:
      break;
  }
  if (central == SimulatedCentral::Srcp) {
    switch (server.fault) {
      case ServerFault::Disconnect:
        fault += QStringLiteral(" (on \"%1\")").arg(server.closeOnLine);
        break;
      case ServerFault::Flood:
        fault += QStringLiteral(" (from %1 ms for %2 ms)")
                     .arg(server.floodAfterMs)
                     .arg(server.floodForMs);
        break;
      case ServerFault::Slow:
        fault += QStringLiteral(" (%1 ms)").arg(server.replyDelayMs);
        break;
      case ServerFault::None:
        break;
    }
  }
  return QStringLiteral("run %1: %2, fault: %3, address %4, mode buttons %5 and %6")
      .arg(index)
      .arg(CentralName(central), fault)
      .arg(address)
      .arg(modeButtonA)
      .arg(modeButtonB);
}
