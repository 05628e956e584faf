#!/usr/bin/env python3
"""Writes the two curve windows' .ui files and control-number headers:
src/curves/RealtimeCurve.ui + RealtimeCurveIds.h, the sensor curve window
"RealTime Curve" (dialog template 143), and src/curves/CRealtimeCurveOther.ui
+ RealtimeCurveOtherIds.h, the environment curve window "Other RealTime
Curve" (template 148). Places are kept in dialog units, as the windows were
first drawn, and scaled to pixels here."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import dialoggen  # noqa: E402
from dialoggen import Dialog  # noqa: E402

# The chart and the graphs are our own widgets over the plotting library;
# uic creates them from the custom widget entries, so they carry their
# control numbers like every other control.
dialoggen.CLASSES['T'] = 'CTChart'
dialoggen.CLASSES['W'] = 'CCWGraph'


def custom_widget(class_name):
    return f''' <customwidgets>
  <customwidget>
   <class>{class_name}</class>
   <extends>QWidget</extends>
   <header>curves/{class_name}.h</header>
   <container>0</container>
  </customwidget>
 </customwidgets>
'''


class CustomWidgetDialog(Dialog):
    def __init__(self, widget_class, *args, **kwargs):
        super().__init__(*args, **kwargs)
        self.widget_class = widget_class

    def ui(self):
        return super().ui().replace(' <resources/>\n',
                                    custom_widget(self.widget_class) + ' <resources/>\n', 1)


GENERATOR = 'scripts/gen-curves-ui.py'
root = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src', 'curves')

# Dialog 143: the chart across the top, the group and curve switches below.
curve = CustomWidgetDialog('CTChart', 'RealtimeCurve', 143, 'RealTime Curve', (895, 394),
                           ids_namespace='RealtimeCurveIds', generator=GENERATOR)
add = curve.add
add(1157, 'T', 'chart', '', (7, 7, 881, 360))
add(1160, 'R', 'gyroRadio', '陀螺', (14, 375, 34, 10))
add(1158, 'R', 'accRadio', '加计', (52, 375, 34, 10))
add(1159, 'R', 'attitudeRadio', '姿态', (90, 375, 34, 10))
add(1134, 'X', 'curve0Check', 'Gyro-x', (146, 375, 42, 10))
add(1135, 'X', 'curve1Check', 'Gyro-y', (192, 375, 42, 10))
add(1136, 'X', 'curve2Check', 'Gyro-z', (238, 375, 42, 10))
# Ours beyond the template, on numbers no other control of it uses: the
# frames counted so far, freezing the view, the view reset, the picture and
# the points to files.
add(1165, 'S', 'frameCountLabel', '', (290, 376, 70, 9))
add(1161, 'B', 'pauseButton', 'Pause', (366, 373, 50, 14))
add(1162, 'B', 'resetViewButton', 'Reset view', (422, 373, 56, 14))
add(1163, 'B', 'saveImageButton', 'Save image', (484, 373, 56, 14))
add(1164, 'B', 'exportPointsButton', 'Export points', (546, 373, 62, 14))
add(1, 'B', 'returnButton', '返回主界面', (830, 373, 58, 14), default=True)
curve.write(os.path.join(root, 'RealtimeCurve.ui'), os.path.join(root, 'RealtimeCurveIds.h'))

# Dialog 148: three graphs stacked, each with its quantity to the left; the
# switches of graph 1's plots beside it.
other = CustomWidgetDialog('CCWGraph', 'CRealtimeCurveOther', 148, 'Other RealTime Curve',
                           (560, 400), ids_namespace='RealtimeCurveOtherIds', generator=GENERATOR)
add = other.add
add(0, 'S', 'magLabel', '地磁(uT)', (7, 60, 40, 9))
add(1132, 'W', 'magGraph', '', (50, 7, 440, 122))
add(0, 'S', 'pressureLabel', '气压(m)', (7, 186, 40, 9))
add(1133, 'W', 'pressureGraph', '', (50, 134, 440, 122))
add(0, 'S', 'temperatureLabel', '温度(℃)', (7, 312, 40, 9))
add(1140, 'W', 'temperatureGraph', '', (50, 261, 440, 122))
add(1153, 'X', 'magXCheck', 'Mag-x', (500, 30, 50, 10))
add(1154, 'X', 'magYCheck', 'Mag-y', (500, 46, 50, 10))
add(1155, 'X', 'magZCheck', 'MAG-z', (500, 62, 50, 10))
add(1, 'B', 'returnButton', '返回主界面', (496, 380, 58, 14), default=True)
other.write(os.path.join(root, 'CRealtimeCurveOther.ui'),
            os.path.join(root, 'RealtimeCurveOtherIds.h'))
