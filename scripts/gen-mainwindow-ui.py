#!/usr/bin/env python3
"""Writes src/mainwindow/TavrikDlg.ui and TavrikDlgIds.h: every control of
the main window with its number, kind, caption, visibility and place. Places
are kept in dialog units, as the window was first drawn, and scaled to pixels
here."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from dialoggen import Dialog  # noqa: E402

dlg = Dialog('TavrikDlg', 102, 'Tavrik3.11V2.1', (739, 417), ids_namespace='MainIds',
             generator='scripts/gen-mainwindow-ui.py', resizable=True)
add = dlg.add


def grid(group_rect, rows, col_w, label_w, edit_w, x0=6, y0=12, dy=22):
    """Label/edit pairs laid out row by row inside a group."""
    gx, gy = group_rect[0], group_rect[1]
    for r, row in enumerate(rows):
        for c, cell in enumerate(row):
            if cell is None:
                continue
            lid, lname, lcap, eid, ename, visible = cell
            x = gx + x0 + c * col_w
            y = gy + y0 + r * dy
            add(lid, 'S', lname, lcap, (x, y + 2, label_w, 9), visible)
            add(eid, 'E', ename, '', (x + label_w + 2, y, edit_w, 12), visible)


# Serial port
# Wide enough for a device path such as /dev/ttyUSB0.
g = (7, 7, 100, 82)
add(1085, 'G', 'serialGroup', 'Serial Port', g)
add(1088, 'S', 'baudLabel', 'Band', (13, 21, 22, 9))
add(1040, 'D', 'baudCombo', '', (37, 19, 64, 12))
add(1089, 'S', 'portLabel', 'COM', (13, 37, 22, 9))
add(1041, 'D', 'portCombo', '', (37, 35, 64, 12), cls='PortComboBox',
    header='mainwindow/PortComboBox.h')
add(1008, 'B', 'openButton', 'Open', (13, 51, 88, 14))
add(1060, 'B', 'startOutputButton', '开始输出', (13, 70, 43, 14))
add(1061, 'B', 'stopOutputButton', '停止输出', (58, 70, 43, 14))

# Navigation
g = (111, 7, 299, 82)
add(1086, 'G', 'navigationGroup', ' Navigation', g)
grid(g, [
    [(1090, 'pitchLabel', 'Pitch', 1010, 'pitchEdit', True),
     (1091, 'rollLabel', 'Roll', 1015, 'rollEdit', True),
     (1092, 'yawLabel', 'Yaw', 1019, 'yawEdit', True),
     (1099, 'modeLabel', 'Mode', 1047, 'modeEdit', False)],
    [(1093, 'velELabel', 'Vel_E', 1014, 'velEEdit', True),
     (1094, 'velNLabel', 'Vel_N', 1042, 'velNEdit', True),
     (1095, 'velULabel', 'Vel_U', 1043, 'velUEdit', True),
     (1100, 'frameLabel', 'FRAME', 1076, 'frameFormatEdit', False)],
    [(1096, 'longitudeLabel', 'Longitude', 1018, 'longitudeEdit', True),
     (1097, 'latitudeLabel', 'Latitude', 1028, 'latitudeEdit', True),
     (1098, 'altitudeLabel', 'Altitude', 1036, 'altitudeEdit', True),
     (1101, 'baroLabel', 'HBar', 1049, 'barometerEdit', False)],
], col_w=97, label_w=36, edit_w=56)
add(1125, 'S', 'satelliteLabel', 'Satellite No. ', (117, 75, 40, 9), False)
add(1033, 'E', 'satelliteEdit', '', (160, 73, 30, 12), False)

# Sensor
g = (425, 7, 300, 50)
add(1087, 'G', 'sensorGroup', 'Sensor', g)
grid(g, [
    [(1102, 'gyroXLabel', 'Gx', 1044, 'gyroXEdit', True),
     (1103, 'gyroYLabel', 'Gy', 1045, 'gyroYEdit', True),
     (1104, 'gyroZLabel', 'Gz', 1046, 'gyroZEdit', True)],
    [(1105, 'accXLabel', 'Ax', 1012, 'accXEdit', True),
     (1106, 'accYLabel', 'Ay', 1016, 'accYEdit', True),
     (1107, 'accZLabel', 'Az', 1020, 'accZEdit', True)],
], col_w=98, label_w=36, edit_w=56, y0=11, dy=18)

# Status lamps: the strip is placed over this group at run time.
add(0, 'G', 'statusGroup', '状态指示', (425, 56, 298, 34))
add(0, 'H', 'lampHost', '', (431, 64, 286, 23))

# GPS
g = (8, 101, 180, 94)
add(1114, 'G', 'gpsGroup', 'GPS', g)
grid(g, [
    [(1117, 'gpsLongitudeLabel', 'Longitude', 1026, 'gpsLongitudeEdit', True),
     (1118, 'gpsVelELabel', 'GPS_VelE', 1034, 'gpsVelEEdit', True)],
    [(1119, 'gpsLatitudeLabel', 'Latitude', 1029, 'gpsLatitudeEdit', True),
     (1120, 'gpsVelNLabel', 'GPS_VelN', 1031, 'gpsVelNEdit', True)],
    [(1121, 'gpsAltitudeLabel', 'Altitude', 1027, 'gpsAltitudeEdit', True),
     (1122, 'gpsVelULabel', 'GPS_VelU', 1032, 'gpsVelUEdit', True)],
    [(1126, 'posTypeLabel', 'PDOP', 1037, 'posTypeEdit', True),
     (1116, 'gpsHeadingLabel', 'Heading', 1030, 'gpsHeadingEdit', True)],
    [(1113, 'headTypeLabel', 'tempz', 1062, 'headTypeEdit', False),
     None],
], col_w=88, label_w=35, edit_w=51, y0=11, dy=16)
add(1115, 'S', 'gpsModelLabel', 'GPS Model', (100, 177, 40, 9), False)

# Instruments
add(1123, 'G', 'horizonGroup', 'Artificial Horizon', (207, 101, 180, 174))
add(1035, 'H', 'gaugeHost', '', (222, 116, 150, 150))
add(1124, 'G', 'headingGroup', 'Heading', (407, 101, 180, 174))
add(1127, 'H', 'graphHost', '', (408, 106, 172, 166), False)
add(1038, 'H', 'dialHost', '', (420, 115, 150, 150))

# Settings
g = (597, 101, 135, 173)
add(0, 'G', 'settingsGroup', '参数设置', g)
add(0, 'S', 'frameFormatLabel', '帧格式', (603, 115, 30, 9))
add(1050, 'D', 'frameFormatCombo', '', (635, 113, 52, 12))
add(1051, 'B', 'frameFormatSetButton', '设置', (690, 112, 36, 14))
add(0, 'S', 'baudSettingLabel', '波特率', (603, 133, 30, 9))
add(1052, 'D', 'baudSettingCombo', '', (635, 131, 52, 12))
add(1053, 'B', 'baudSetButton', '设置', (690, 130, 36, 14))
add(1112, 'S', 'rateLabel', '输出频率', (603, 151, 32, 9))
add(1083, 'D', 'rateCombo', '', (635, 149, 52, 12))
add(1084, 'B', 'rateSetButton', '设置', (690, 148, 36, 14))
add(0, 'S', 'sceneLabel', '场景', (603, 169, 30, 9), False)
add(1063, 'D', 'sceneCombo', '', (635, 167, 52, 12), False)
add(1075, 'B', 'sceneSetButton', '设置', (690, 166, 36, 14), False)
add(0, 'S', 'currentSceneCaption', '当前场景：', (603, 185, 40, 9), False)
add(1080, 'S', 'currentSceneLabel', '车载', (645, 185, 40, 9), False)
add(1082, 'B', 'odometerButton', '参数设置...', (603, 172, 123, 16))
add(1056, 'B', 'factoryResetButton', '恢复出厂设置', (603, 194, 123, 16))
add(0, 'S', 'settingsNote', '注意，参数设置成功后，必须断电重启', (603, 218, 123, 40), wrap=True)

# Upgrade
g = (7, 200, 179, 73)
add(1081, 'G', 'upgradeGroup', '在线升级', g)
add(1066, 'B', 'openHexButton', '打开HEX文件', (13, 211, 80, 14))
add(1067, 'B', 'upgradeButton', '一键升级', (99, 211, 80, 14))
add(1072, 'S', 'upgradeHelpLabel',
    '1、首先停止输出，并按Ctrl+Shift+U切换到升级状态                                              '
    '2、打开HEX文件，然后点击一键升级', (13, 224, 166, 27), wrap=True)
# The upgrade's progress: blocks, bytes, percent and time in the bar, the
# file's name beside the stage label; both keep their figures once the
# upgrade has ended.
add(1172, 'P', 'upgradeProgressBar', '', (13, 251, 166, 9))
add(1071, 'S', 'upgradeProgressLabel', '', (13, 261, 58, 10))
add(1176, 'S', 'upgradeFileLabel', '', (73, 261, 106, 10))
add(0, 'S', 'velTypeLabel', 'Vel-type', (13, 258, 30, 9), False)
add(1025, 'E', 'velTypeEdit', '', (45, 256, 40, 12), False)

# Bottom row, console and send row
add(1065, 'X', 'showDataCheck', '开始显示', (43, 285, 43, 10))
add(1064, 'X', 'hexDisplayCheck', 'HEX显示', (92, 285, 42, 10))
add(1074, 'B', 'clearButton', 'Clear', (162, 283, 39, 14))
add(1068, 'B', 'logSaveButton', 'Log Save as...', (217, 283, 50, 14))
add(1069, 'B', 'stopSaveButton', '停止保存', (281, 283, 37, 14))
add(1151, 'B', 'convertButton', '转换格式', (354, 283, 38, 14))
add(1146, 'B', 'replayButton', '数据回放', (413, 283, 38, 14))
add(1148, 'B', 'mapButton', '导航', (469, 283, 38, 14))
add(1154, 'B', 'view3dButton', '3D显示', (517, 283, 38, 14))
add(1152, 'B', 'curveButton', '曲线', (563, 283, 38, 14))
# The replay's speed and its stop, beside the other bottom-row buttons.
add(1173, 'L', 'replaySpeedCombo', '', (608, 284, 40, 12))
add(1174, 'B', 'stopReplayButton', '停止回放', (651, 283, 43, 14))
add(1073, 'C', 'consoleEdit', '', (23, 299, 697, 86))
add(1077, 'EE', 'sendEdit', '', (21, 389, 586, 14))
add(1070, 'X', 'hexSendCheck', 'HEX', (611, 392, 29, 10))
add(1039, 'B', 'sendButton', 'Send', (639, 389, 43, 14))

# Status lines under the send row: the line's health, and what the update
# check installed. Numbers of our own, beyond the template's.
add(1170, 'S', 'linkStatusLabel', '', (21, 405, 330, 10))
add(1175, 'P', 'replayProgressBar', '', (355, 406, 115, 8))
add(1171, 'S', 'updateStatusLabel', '', (475, 405, 245, 10))

# Kept for the program's own bookkeeping, never shown.
hidden_status = [(1013, 'initStatusEdit', '初始化'), (1017, 'correctionStatusEdit', '千寻'),
                 (1021, 'gnssDiffStatusEdit', 'GPS定位'), (1048, 'gnssHeadingStatusEdit', 'GPS航向'),
                 (1059, 'odometerStatusEdit', '里程计')]
for i, (cid, name, caption) in enumerate(hidden_status):
    add(0, 'S', name.replace('Edit', 'Label'), caption, (600 + i * 26, 400, 24, 9), False)
    add(cid, 'E', name, '', (600 + i * 26, 390, 24, 12), False)
add(1132, 'S', 'headTypeCaption', 'Head_Type:', (600, 380, 30, 9), False)
add(1133, 'S', 'auxValueLabel', 've', (632, 380, 20, 9), False)
for i, (cid, name) in enumerate([(1078, 'extra1Edit'), (1131, 'extra2Edit'), (1079, 'extra3Edit'),
                                 (1135, 'extra4Edit'), (1137, 'extra5Edit')]):
    add(cid, 'E', name, '', (600 + i * 26, 370, 24, 12), False)
add(1129, 'S', 'rightFrontLabel', '右前', (600, 360, 20, 9), False)
add(1134, 'S', 'rightRearLabel', '右后', (622, 360, 20, 9), False)
add(1153, 'B', 'curve2Button', '曲线2', (600, 345, 38, 14), False)
add(1159, 'B', 'serialNumberButton', '查SN', (640, 345, 38, 14), False)

root = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src', 'mainwindow')
dlg.write(sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'TavrikDlg.ui'),
          sys.argv[2] if len(sys.argv) > 2 else os.path.join(root, 'TavrikDlgIds.h'))
