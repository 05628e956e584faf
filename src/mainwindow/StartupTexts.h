#pragma once

#include <utility>

#include "mainwindow/TavrikDlgIds.h"

// Captions the main window takes at start, replacing the template's.
inline constexpr std::pair<int, const char*> kStartupTexts[] = {
    {MainIds::kSerialGroup, "端口设置"},     {MainIds::kBaudLabel, "波特率"},
    {MainIds::kPortLabel, "端口"},           {MainIds::kOpenButton, "打开"},
    {MainIds::kNavigationGroup, "导航数据"}, {MainIds::kPitchLabel, "俯仰"},
    {MainIds::kRollLabel, "横滚"},           {MainIds::kYawLabel, "航向"},
    {MainIds::kVelELabel, "东向速度"},       {MainIds::kVelNLabel, "北向速度"},
    {MainIds::kVelULabel, "天向速度"},       {MainIds::kLongitudeLabel, "经度"},
    {MainIds::kLatitudeLabel, "纬度"},       {MainIds::kAltitudeLabel, "高度"},
    {MainIds::kModeLabel, "模式"},           {MainIds::kFrameLabel, "帧格式"},
    {MainIds::kBaroLabel, "气压"},           {MainIds::kSensorGroup, "传感器数据"},
    {MainIds::kAccXLabel, "加速度X"},        {MainIds::kAccYLabel, "加速度Y"},
    {MainIds::kAccZLabel, "加速度Z"},        {MainIds::kGyroXLabel, "陀螺X"},
    {MainIds::kGyroYLabel, "陀螺Y"},         {MainIds::kGyroZLabel, "陀螺Z"},
    {MainIds::kRateLabel, "输出频率"},       {MainIds::kHeadTypeLabel, "温度Z"},
    {MainIds::kSatelliteLabel, "卫星数"},    {MainIds::kGpsGroup, "GPS数据"},
    {MainIds::kGpsModelLabel, "模式"},       {MainIds::kGpsHeadingLabel, "航向"},
    {MainIds::kGpsLongitudeLabel, "经度"},   {MainIds::kGpsLatitudeLabel, "纬度"},
    {MainIds::kGpsAltitudeLabel, "高度"},    {MainIds::kGpsVelELabel, "东向速度"},
    {MainIds::kGpsVelNLabel, "北向速度"},    {MainIds::kGpsVelULabel, "天向速度"},
    {MainIds::kHorizonGroup, "地平仪"},      {MainIds::kHeadingGroup, "航向"},
    {MainIds::kClearButton, "清除数据"},     {MainIds::kLogSaveButton, "保存数据..."},
    {MainIds::kSendButton, "发送"},
};
