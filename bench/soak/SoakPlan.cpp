#include "SoakPlan.h"

#include <iterator>

#include "Wd10Learner.h"

namespace {

constexpr LineFault kLineFaults[] = {
    LineFault::None,    LineFault::Drop,    LineFault::Delay,  LineFault::Duplicate,
    LineFault::Corrupt, LineFault::Silence, LineFault::Unplug, LineFault::InterfaceOff};
// A Märklin interface never answers: there are no reply bytes to spoil.
constexpr LineFault kSilentInterfaceFaults[] = {LineFault::None, LineFault::Unplug,
                                                LineFault::InterfaceOff};
constexpr ServerFault kServerFaults[] = {ServerFault::None, ServerFault::Disconnect,
                                         ServerFault::Flood, ServerFault::Slow};
// By the enums' order.
constexpr const char* kLineFaultNames[] = {"none",
                                           "dropped reply bytes",
                                           "delayed reply bytes",
                                           "duplicated reply bytes",
                                           "corrupted reply bytes",
                                           "station falls silent",
                                           "adapter unplugged",
                                           "interface falls silent during the run"};
constexpr const char* kServerFaultNames[] = {"none", "server disconnects", "server floods",
                                             "server answers late"};
constexpr const char* kCentralNames[] = {"IB/TC /LocoNet", "IB/TC (P50X)", "Lenz/Multi-Maus",
                                         "Märklin 6050/6051", "SRCP 0.8"};

// About how many bytes a whole run brings back from the station and how many writes the program
// makes, so that a fault can strike anywhere in the run, or only while closing: LocoNet echoes
// every message and writes a byte at a time; interface detection's text commands go one byte a
// write; a Märklin interface never answers.
struct Traffic {
  int replyBytes;
  int writes;
};
constexpr Traffic kTraffic[] = {{34, 36}, {200, 150}, {27, 10}, {0, 14}, {0, 0}};

// The highest first address each central type can program. The address field stops at 2040;
// Märklin sends the turnout as one byte and limits the field to 248; a Lenz frame reaches
// turnout 1024 after its offset of 4.
constexpr int kHighestAddress[] = {2033, 2033, 1016, 241, 2033};

// Lines of the command session after which a server can vanish: in the handshake, on the first
// programming command, on a repeated one after its accessory was initialised, and on power off.
const char* const kCloseOnLines[] = {"GO", "INIT 1 POWER", "SET 6 GA", "INIT 6 GA",
                                     "SET 1 POWER OFF"};

}  // namespace

QString CentralName(SimulatedCentral central) {
  return QString::fromUtf8(kCentralNames[static_cast<int>(central)]);
}

RunPlan PlanRun(int index, std::uint32_t seed) {
  std::mt19937 random(seed * 7919u + static_cast<std::uint32_t>(index));
  const auto draw = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  RunPlan plan;
  plan.index = index;
  plan.seed = seed;
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
    const Traffic traffic = kTraffic[static_cast<int>(plan.central)];
    plan.line.seed = static_cast<std::uint32_t>(random());
    plan.line.bytesBeforeFaults = draw(0, traffic.replyBytes * 9 / 10);
    plan.line.percentHit = draw(5, 40);
    plan.line.longestDelayMs = draw(50, 1500);
    plan.line.bytesBeforeSilence = draw(0, traffic.replyBytes);
    plan.line.writesBeforeUnplug = draw(0, traffic.writes);
    // Anywhere in the four steps, whose pauses the soak shortens to 100 ms, or just after them.
    plan.line.interfaceOffAfterMs = draw(0, 1500);
  }
  // A decoder's first address is where a block of its turnouts begins, as the spin buttons give.
  const int steps =
      (kHighestAddress[static_cast<int>(plan.central)] - 1) / Wd10::kTurnoutsPerDecoder;
  plan.address = 1 + Wd10::kTurnoutsPerDecoder * draw(0, steps);
  plan.modeA = draw(0, 6);
  plan.modeB = draw(0, 6);
  return plan;
}

QString RunPlan::FaultName() const {
  return QString::fromLatin1(central == SimulatedCentral::Srcp
                                 ? kServerFaultNames[static_cast<int>(server.fault)]
                                 : kLineFaultNames[static_cast<int>(line.fault)]);
}

QString RunPlan::Describe() const {
  // The plan follows from the seed and the index alone.
  return QStringLiteral(
             "run %1 of seed %2: %3, fault: %4, address %5, group A mode button %6, group B mode "
             "button %7")
      .arg(index)
      .arg(seed)
      .arg(CentralName(central), FaultName())
      .arg(address)
      .arg(modeA)
      .arg(modeB);
}
