#!/usr/bin/env python3
"""Writes src/mainwindow/FilesFormatConvert.ui and FilesFormatConvertIds.h:
the conversion dialog "文件转换" (dialog template 147) with its file choosers,
the nine column groups, the progress of a running conversion and its buttons.
Places are kept in dialog units and scaled to pixels here."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from dialoggen import Dialog  # noqa: E402

dlg = Dialog('FilesFormatConvert', 147, '文件转换', (262, 172),
             generator='scripts/gen-convert-ui.py')
add = dlg.add

add(1146, 'B', 'sourceButton', '选择源文件', (10, 10, 56, 14))
add(1149, 'S', 'sourceLabel', '请选择需要转换的文件', (72, 13, 180, 9))
add(1147, 'B', 'targetButton', '选择保存文件', (10, 30, 56, 14))
add(1150, 'S', 'targetLabel', '请选择保存文件的路径', (72, 33, 180, 9))

# The nine groups in their column order, five on the first row, four below.
add(0, 'G', 'columnsGroup', '选择导出数据', (10, 52, 242, 48))
groups = [(1134, 'velocityCheck', '速度'), (1135, 'positionCheck', '位置'),
          (1136, 'attitudeCheck', '欧拉角'), (1137, 'gyroCheck', '陀螺'),
          (1138, 'accelerometerCheck', '加计'), (1139, 'magnetometerCheck', '磁力计'),
          (1140, 'barometerCheck', '气压'), (1141, 'temperatureCheck', '温度'),
          (1144, 'timeStampCheck', '时间戳')]
for i, (cid, name, caption) in enumerate(groups):
    row, col = divmod(i, 5)
    add(cid, 'X', name, caption, (20 + col * 46, 65 + row * 17, 42, 10))

# A conversion runs beside the window: how far it is, and a way to stop it.
# These controls take numbers no other control uses.
add(1162, 'P', 'conversionProgress', '', (10, 108, 242, 11))
add(1163, 'S', 'rowsLabel', '', (10, 124, 150, 9))
add(1129, 'B', 'convertButton', '转换', (86, 148, 50, 14))
add(1164, 'B', 'cancelButton', '取消', (144, 148, 50, 14))
add(1, 'B', 'exitButton', '退出', (202, 148, 50, 14), default=True)

root = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src', 'mainwindow')
dlg.write(sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'FilesFormatConvert.ui'),
          sys.argv[2] if len(sys.argv) > 2 else os.path.join(root, 'FilesFormatConvertIds.h'))
