#include "device/ReplyTable.h"

#include <array>

namespace {

using E = ReplyEffect;

// Refusals ("... 0") come before acceptances ("... 1") of the same command.
constexpr std::array kCommonRows{
    ReplyRow{"*PA AUTO STOP 0", E::Message, "设置停止输出失败\n"},
    ReplyRow{"*PA AUTO SN=", E::SerialNumber},
    ReplyRow{"*PA AUTO STATUS", E::StatusReply},
    ReplyRow{"*PA AUTO STOP 1", E::StopConfirmed, "设置停止输出成功\n"},
    ReplyRow{"*PA AUTO BAUD 1 0", E::Message, "设置波特率112500失败\n"},
    ReplyRow{"*PA AUTO BAUD 1 1", E::Message, "设置波特率112500成功\n"},
    ReplyRow{"*PA AUTO BAUD 2 0", E::Message, "设置波特率230400失败\n"},
    ReplyRow{"*PA AUTO BAUD 2 1", E::Message, "设置波特率230400成功\n"},
    ReplyRow{"*PA AUTO BAUD 3 0", E::Message, "设置波特率460800失败\n"},
    ReplyRow{"*PA AUTO BAUD 3 1", E::Message, "设置波特率460800成功\n"},
    ReplyRow{"*PA AUTO ODO RESET 1", E::Message, "恢复出厂设置成功\n"},
    ReplyRow{"*PA AUTO MDEC 0", E::Message, "设置磁偏角失败\n"},
    ReplyRow{"*PA AUTO MDEC 1", E::Message, "设置磁偏角成功\n"},
    ReplyRow{"*PA AUTO FRAME1 0", E::Message, "设置帧格式1失败\n"},
    ReplyRow{"*PA AUTO FRAME1 1", E::Message, "设置帧格式1成功\n"},
    ReplyRow{"*PA AUTO FRAME2 0", E::Message, "设置帧格式2失败\n"},
    ReplyRow{"*PA AUTO FRAME2 1", E::Message, "设置帧格式2成功\n"},
    ReplyRow{"*PA AUTO FRAME3 0", E::Message, "设置帧格式3失败\n"},
    ReplyRow{"*PA AUTO FRAME3 1", E::Message, "设置帧格式3成功\n"},
    ReplyRow{"*PA AUTO FRAME4 0", E::Message, "设置帧格式4失败\n"},
    ReplyRow{"*PA AUTO FRAME4 1", E::Message, "设置帧格式4成功\n"},
    ReplyRow{"*PA AUTO FRAME6 0", E::Message, "设置帧格式6失败\n"},
    ReplyRow{"*PA AUTO FRAME6 1", E::Message, "设置帧格式6成功\n"},
    ReplyRow{"*PA AUTO SCENES 1 0", E::Message, "设置工作场景：车载，失败\n"},
    ReplyRow{"*PA AUTO SCENES 1 1", E::LabelThenMessage, "设置工作场景：车载，成功\n", "车载"},
    ReplyRow{"*PA AUTO SCENES 2 0", E::Message, "设置工作场景：室内，失败\n"},
    ReplyRow{"*PA AUTO SCENES 2 1", E::LabelThenMessage, "设置工作场景：室内，成功\n", "室内"},
    ReplyRow{"*PA AUTO SCENES 3 0", E::Message, "设置工作场景：船载，失败\n"},
    ReplyRow{"*PA AUTO SCENES 3 1", E::MessageThenLabel, "设置工作场景：船载，成功\n", "船载"},
    ReplyRow{"*PA AUTO SCENES 4 0", E::Message, "设置工作场景：固定翼，失败\n"},
    ReplyRow{"*PA AUTO SCENES 4 1", E::MessageThenLabel, "设置工作场景：固定翼，成功\n", "固定翼"},
    ReplyRow{"*PA AUTO SCENES 5 0", E::Message, "设置工作场景：旋翼，失败\n"},
    ReplyRow{"*PA AUTO SCENES 5 1", E::MessageThenLabel, "设置工作场景：旋翼，成功\n", "旋翼"},
    ReplyRow{"*PA AUTO SCENES 6 0", E::Message, "设置工作场景：直升机，失败\n"},
    ReplyRow{"*PA AUTO SCENES 6 1", E::MessageThenLabel, "设置工作场景：直升机，成功\n", "直升机"},
    ReplyRow{"*RTK ON", E::RtkOn, "设置RTK ON成功\n"},
};

// The 3.11 firmware spells the keyword "FER"; the others spell it "FRE".
constexpr std::array kV311Rows{
    ReplyRow{"*PA AUTO OUT FER 1 1", E::Message, "设置输出频率10HZ成功\n"},
    ReplyRow{"*PA AUTO OUT FER 2 1", E::Message, "设置输出频率20HZ成功\n"},
    ReplyRow{"*PA AUTO OUT FER 5 1", E::Message, "设置输出频率50HZ成功\n"},
    ReplyRow{"*PA AUTO OUT FER A 1", E::Message, "设置输出频率100HZ成功\n"},
};

constexpr std::array kFourHundredHertzRows{
    ReplyRow{"*PA AUTO OUT FRE 1 1", E::Message, "设置输出频率100HZ成功\n"},
    ReplyRow{"*PA AUTO OUT FRE 2 1", E::Message, "设置输出频率200HZ成功\n"},
    ReplyRow{"*PA AUTO OUT FRE 4 1", E::Message, "设置输出频率400HZ成功\n"},
};

constexpr std::array kKdv1Rows{
    ReplyRow{"*PA AUTO OUT FRE 1 1", E::Message, "设置输出频率100HZ成功\n"},
    ReplyRow{"*PA AUTO OUT FRE 2 1", E::Message, "设置输出频率200HZ成功\n"},
    ReplyRow{"*PA AUTO OUT FRE 3 1", E::Message, "设置输出频率300HZ成功\n"},
    ReplyRow{"*PA AUTO OUT FRE 6 1", E::Message, "设置输出频率600HZ成功\n"},
};

constexpr std::array kOdometerAckRows{
    ReplyRow{"*PA AUTO ODO SET_ATB 1", E::Message, "设置SET_ATB成功！\n"},
    ReplyRow{"*PA AUTO ODO SET_ATG 1", E::Message, "设置SET_ATG成功！\n"},
    ReplyRow{"*PA AUTO ODO SET_LTC 1", E::Message, "设置SET_LTC成功！\n"},
    ReplyRow{"*PA AUTO ODO SET_LTG 1", E::Message, "设置SET_LTG成功！\n"},
    ReplyRow{"*PA AUTO ODO SET_KWS 1", E::Message, "设置SET_KWS成功！\n"},
};

}  // namespace

std::span<const ReplyRow> CommonReplyRows() {
  return kCommonRows;
}

std::optional<std::span<const ReplyRow>> VariantReplyRows(DeviceVariant variant) {
  switch (variant) {
    case DeviceVariant::V3_11:
      return kV311Rows;
    case DeviceVariant::V5_1:
    case DeviceVariant::V7_1:
    case DeviceVariant::QELV3_11:
      return kFourHundredHertzRows;
    case DeviceVariant::KDV1:
      return kKdv1Rows;
    default:
      return std::nullopt;
  }
}

std::span<const ReplyRow> OdometerAckRows() {
  return kOdometerAckRows;
}
