#pragma once

// The texts the firmware upgrade shows, exactly as the user sees them.
namespace FirmwareTexts {

// Message boxes.
inline constexpr const char* kHexNotOpened = "打开HEX文件失败！请重试";
inline constexpr const char* kNoImageDirectory = "请以管理员权限打开软件\n";  // error icon
inline constexpr const char* kImageNotCreated = "系统故障";
inline constexpr const char* kPortClosed = "先打开串口在进行其他操作！！";
inline constexpr const char* kImageNotRead = "读取HEX文件失败！请尝试管理员权限打开";
inline constexpr const char* kDone = "下载完成！";
// "HEX文件第%d行有误（%s），未生成升级文件！\n" and "升级失败：%s\n".
inline constexpr const char* kBadRecordBefore = "HEX文件第";
inline constexpr const char* kBadRecordMiddle = "行有误（";
inline constexpr const char* kBadRecordAfter = "），未生成升级文件！\n";
inline constexpr const char* kFailedBefore = "升级失败：";

// Progress label (control 1071), in the order an upgrade shows them.
inline constexpr const char* kLabelStarting = "准备开始下载！";
inline constexpr const char* kLabelAnnounced = "准备下载";
inline constexpr const char* kLabelErasing = "正在擦除FLASH!";
inline constexpr const char* kLabelOddBlock = "正在下载...";
inline constexpr const char* kLabelEvenBlock = "正在下载.";
inline constexpr const char* kLabelRepeat = "...";
inline constexpr const char* kLabelLastBlock = "下载完成！";

// Why an upgrade failed, completing "升级失败：%s\n".
inline constexpr const char* kNoAnnouncement = "等待升级程序应答超时";
inline constexpr const char* kBlockTimeoutBefore = "等待数据块";  // + block + kBlockTimeoutAfter
inline constexpr const char* kBlockTimeoutAfter = "应答超时";
inline constexpr const char* kEndTimeout = "等待结束应答超时";
inline constexpr const char* kBlockRefusedBefore = "数据块";  // + block + kBlockRefusedAfter
inline constexpr const char* kBlockRefusedAfter = "多次校验失败";
inline constexpr const char* kEndRefused = "结束标志多次被拒收";
inline constexpr const char* kPortLost = "串口已断开";

}  // namespace FirmwareTexts
