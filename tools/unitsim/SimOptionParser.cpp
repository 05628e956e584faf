#include "SimOptionParser.h"

#include <charconv>
#include <cstdio>
#include <functional>
#include <map>
#include <string_view>

#include "StaticSample.h"

namespace {

template <typename T>
bool ParseNumber(std::string_view text, T& out) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && ptr == end;
}

bool ParseFrameKind(std::string_view text, StreamFormat& format) {
  if (text == "120")
    format = StreamFormat{FrameKind::Frame120, 0};
  else if (text == "220")
    format = StreamFormat{FrameKind::Frame220, 0};
  else if (text == "76")
    format = StreamFormat{FrameKind::Frame76, 0};
  else
    return false;
  return true;
}

using Setter = std::function<bool(SimOptions&, std::string_view)>;

template <typename T>
Setter NumberIn(T SimOptions::*member, T lowest, T highest) {
  return [=](SimOptions& o, std::string_view v) {
    T value{};
    if (!ParseNumber(v, value) || value < lowest || value > highest) return false;
    o.*member = value;
    return true;
  };
}

const std::map<std::string_view, Setter>& ValueOptions() {
  static const std::map<std::string_view, Setter> options{
      {"--link",
       [](SimOptions& o, std::string_view v) {
         o.linkPath = v;
         return !v.empty();
       }},
      {"--baud", NumberIn(&SimOptions::baud, 0, 100'000'000)},
      {"--rate", NumberIn(&SimOptions::rateHz, 0, 100'000)},
      {"--frame", [](SimOptions& o, std::string_view v) { return ParseFrameKind(v, o.format); }},
      {"--frames", NumberIn<uint64_t>(&SimOptions::frameLimit, 0, UINT64_MAX)},
      {"--lon", NumberIn(&SimOptions::startLongitude, -180.0, 180.0)},
      {"--lat", NumberIn(&SimOptions::startLatitude, -89.0, 89.0)},
      {"--variant",
       [](SimOptions& o, std::string_view v) {
         o.variant = ParseDeviceVariant(v);
         return true;
       }},
      {"--refuse",
       [](SimOptions& o, std::string_view v) {
         o.refusedWords.emplace_back(v);
         return !v.empty();
       }},
      {"--sn",
       [](SimOptions& o, std::string_view v) {
         o.serialNumber = v;
         return v.size() <= 17;
       }},
      {"--image-out",
       [](SimOptions& o, std::string_view v) {
         o.imageOutPath = v;
         return true;
       }},
      {"--nak-every", NumberIn(&SimOptions::nakEvery, 0, 1'000'000)},
      {"--silent-after", NumberIn<int64_t>(&SimOptions::silentAfter, 0, INT64_MAX)},
      {"--loader-baud", NumberIn(&SimOptions::loaderBaud, 0, 100'000'000)},
      {"--tee",
       [](SimOptions& o, std::string_view v) {
         o.teePath = v;
         return !v.empty();
       }},
      {"--reply-log",
       [](SimOptions& o, std::string_view v) {
         o.replyLogPath = v;
         return !v.empty();
       }},
      {"--noise", NumberIn(&SimOptions::noisePercent, 0, 1000)},
      {"--corrupt-every", NumberIn(&SimOptions::corruptEvery, 0, 1'000'000)},
      {"--seed",
       [](SimOptions& o, std::string_view v) {
         uint64_t seed = 0;
         if (!ParseNumber(v, seed)) return false;
         o.seed = seed;
         return true;
       }},
  };
  return options;
}

const std::map<std::string_view, bool SimOptions::*>& FlagOptions() {
  static const std::map<std::string_view, bool SimOptions::*> flags{
      {"--static", &SimOptions::staticFrame},
      {"--stopped", &SimOptions::startStopped},
      {"--signed-heading", &SimOptions::signedHeading},
      {"--wide-values", &SimOptions::wideValues},
      {"--verbose", &SimOptions::verbose},
  };
  return flags;
}

}  // namespace

SimOptionParser::Result SimOptionParser::Parse(int argc, const char* const* argv) {
  Result result;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      result.outcome = Outcome::ShowHelp;
      return result;
    }
    if (auto flag = FlagOptions().find(arg); flag != FlagOptions().end()) {
      result.options.*(flag->second) = true;
      continue;
    }
    std::string_view name = arg;
    std::string_view value;
    bool hasValue = false;
    if (const auto equals = arg.find('='); equals != std::string_view::npos) {
      name = arg.substr(0, equals);
      value = arg.substr(equals + 1);
      hasValue = true;
    }
    const auto option = ValueOptions().find(name);
    if (option == ValueOptions().end()) {
      result.outcome = Outcome::Error;
      result.error = "unknown option " + std::string(arg);
      return result;
    }
    if (!hasValue) {
      if (i + 1 >= argc) {
        result.outcome = Outcome::Error;
        result.error = std::string(name) + " needs a value";
        return result;
      }
      value = argv[++i];
    }
    if (!option->second(result.options, value)) {
      result.outcome = Outcome::Error;
      result.error = "bad value for " + std::string(name) + ": " + std::string(value);
      return result;
    }
  }
  return result;
}

std::string SimOptionParser::HelpText() {
  std::string text = R"(Usage: tavrik-unitsim [OPTIONS]

A virtual inertial navigation unit on a pseudo-terminal. The first line on
standard output is the device path of the terminal end a program opens (for
example /dev/pts/3); open it with Tavrik or any serial terminal. The unit then
streams navigation frames, answers "*PA AUTO" commands and takes firmware
through its boot loader like a real unit. SIGINT or SIGTERM end it cleanly;
it then prints one line of statistics:
  tavrik-unitsim: frames120=N frames220=N frames76=N bytes=N commands=N
  noise=N corrupted=N dropped=N packets=N images=N

Line and stream:
  --link PATH          also make PATH a symbolic link to the device (removed at exit)
  --baud N             pace the stream to N baud, 10 bits a byte (default 460800;
                       0 = as fast as the terminal takes)
  --rate HZ            frames per second (default 100; 0 = back to back). The line
                       rate caps it, as on a real line.
  --frame 120|220|76   frame kind at start (default 120)
  --frames N           stop streaming after N frames (the unit keeps answering)
  --stopped            start with output stopped, as after "*PA AUTO STOP"
  --lon DEG, --lat DEG start position (default 116.3, 39.9)
  --signed-heading     report yaw as -180..180 instead of 0..360

Motion (without --static): the vehicle stands still while it initialises and
then drives a clockwise loop of radius 50 m (about 314 m) that starts and ends
at the start position, speeding up to 8 m/s, over a 2 m rise and fall. Axes:
x right, y forward, z up; yaw clockwise from north. Status over time: GNSS
position and velocity from 1 s (solution 16), network correction and
differential fix from 2 s (solution 50), initialisation complete from 3 s,
GNSS heading fix from 4 s (solution 50), odometer connected once driving
from 5 s. The frame content depends only on the frame count, not on time.

  --static             repeat one fixed frame instead; its values are listed below

Commands ("*PA AUTO " + command, each ended by CR LF; answers end in CR LF):
  STOP                 stops the stream               -> *PA AUTO STOP 1
  START                resumes it                     -> *PA AUTO START 1
  BAUD n   (1-3)       noted for the next power-up    -> *PA AUTO BAUD n 1
  FRAMEn   (1,2,3,6)   switches the frame at once     -> *PA AUTO FRAMEn 1
                       1: 120-byte, format byte 0; 2: 120-byte, format byte 1;
                       3: 220-byte; 6: 76-byte (other digits are refused)
  OUT FRE c            switches the output rate       -> *PA AUTO OUT FRE c 1
                       V3.11 answers "OUT FER" and has 1=10, 2=20, 5=50, A=100 Hz;
                       KDV1 has 1=100, 2=200, 3=300, 6=600 Hz; the others
                       1=100, 2=200, 4=400 Hz
  SCENES n (1-6)                                      -> *PA AUTO SCENES n 1
  MDEC value                                          -> *PA AUTO MDEC 1
  ODO RESET            odometer groups to factory     -> *PA AUTO ODO RESET 1
  SN?                                                 -> *PA AUTO SN=<serial>
  STATUS               frame digit at position 16, rate code at position 17
                                                      -> *PA AUTO STATUS 1A 1 3
  ODO RAD_G (G = ATB, ATG, LTC, LTG, KWS): the echo "*PA AUTO ODO RAD_G", then
                       the group's three values, narrow (+01.234 +02.345 -00.123)
                       or, when a value needs it or with --wide-values, wide
                       (+001.234 +002.345 -000.123)
  ODO SET_G a b c      keeps the three values         -> *PA AUTO ODO SET_G 1
  "*RTK ON"                                           -> *RTK ON 1
  Factory odometer values: KWS 1, 1, 1; the other groups 0, 0, 0.

  --variant NAME       V3.11, V5.1, V7.1, QELV3.11, KDV1, KemRTK or other
                       (default other); compared ignoring case
  --refuse WORD        refuse every command whose text after "*PA AUTO " begins
                       with WORD (repeatable; e.g. BAUD, FRAME, ODO SET_LTC). A
                       refusal is the answer with its last digit 0; commands
                       that answer with data answer "*PA AUTO <command> 0"
  --sn TEXT            serial number for SN? (default TVK2024A0001, at most 17)
  --wide-values        always answer odometer reads in the wide form

Boot loader: "reset!" stops the stream; 100 ms later the unit announces
"Tavrik unit boot loader, waiting in main" and waits 10 s for "ks" (else it
goes back to streaming). It then asks with 'C' for a YMODEM header block and
takes 133-byte packets (0x01, block, 255-block, 128 bytes, CRC-16/XMODEM high
byte first): ACK for a good packet (a repeat of the last one is acknowledged
again), NAK for a bad one or a wrong block number; a packet cut short for 1 s
is NAKed. EOT is answered with ACK and 'C'; the closing empty block 0 ends the
transfer, the image (cut to the size in the header) is written and the unit
starts streaming again.
  --image-out PATH     at the end of each transfer write the received image,
                       cut to the size in its header, to PATH (replacing it)
  --nak-every N        NAK every Nth good data packet (the resend is taken)
  --silent-after N     stop answering after N packets
  --loader-baud N      pace the boot loader as a line of N baud would (10 bits
                       a byte): a packet counts as received only once its 133
                       bytes could have arrived, and each answer takes its own
                       line time (default 0: answer at once)

Faults:
  --noise PERCENT      garbage bytes between frames, on average PERCENT percent
                       of the frame length
  --corrupt-every N    every Nth frame with a bad CRC (or sum)
  --seed N             seed for noise; the same seed gives the same bytes
                       (without it a seed is drawn and printed on stderr)

Recording:
  --tee PATH           append every byte the unit sends (frames, replies,
                       boot-loader bytes) to PATH as raw bytes, in the order
                       sent; flushed when the unit ends
  --reply-log PATH     append a line per answer sent: the steady-clock time in
                       nanoseconds when its last byte went onto the line, and
                       the answer (for measuring how fast a program reports it)

  --verbose            log commands and boot-loader steps on stderr
  --help               this text
)";
  text += "\n";
  text += StaticSample::Description();
  return text;
}
