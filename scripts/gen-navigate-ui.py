#!/usr/bin/env python3
"""Writes src/map/Navigate.ui and NavigateIds.h: the map window "Navigate"
(dialog template 145) with its browser area and buttons. Places are kept in
dialog units, as the window was first drawn, and scaled to pixels here."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import dialoggen  # noqa: E402
from dialoggen import Dialog  # noqa: E402

# The browser area is the embedded web view itself, so it carries its control
# number like every other control; uic creates it from the custom widget entry.
dialoggen.CLASSES['W'] = 'CExplorer_map'
CUSTOM_WIDGETS = ''' <customwidgets>
  <customwidget>
   <class>CExplorer_map</class>
   <extends>QWidget</extends>
   <header>map/CExplorer_map.h</header>
  </customwidget>
 </customwidgets>
'''


class NavigateDialog(Dialog):
    def ui(self):
        return super().ui().replace(' <resources/>\n', CUSTOM_WIDGETS + ' <resources/>\n', 1)


# Drawn at its first size; the window itself opens smaller, to fit a laptop
# screen, and resizes with the browser taking the room (Navigate.cpp).
dlg = NavigateDialog('Navigate', 145, 'Navigate', (741, 480), ids_namespace='NavigateIds',
                     generator='scripts/gen-navigate-ui.py', resizable=True, fixed_size=False)
add = dlg.add

add(1147, 'W', 'browser', '', (7, 7, 690, 466))
# Saving the track is ours; it takes a number no other control uses.
add(1161, 'B', 'saveTrackButton', '保存轨迹', (703, 322, 35, 14))
add(1129, 'B', 'startButton', '开始', (706, 356, 28, 14))
add(1074, 'B', 'clearButton', '清除', (706, 390, 28, 14))
add(1, 'B', 'exitButton', '退出', (706, 417, 28, 14), default=True)
add(1039, 'B', 'testButton', 'TEST', (710, 278, 24, 14), False)

root = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src', 'map')
dlg.write(sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'Navigate.ui'),
          sys.argv[2] if len(sys.argv) > 2 else os.path.join(root, 'NavigateIds.h'))
