#!/usr/bin/env python3
"""Writes src/view3d/CMs3dDlg.ui and Ms3dDlgIds.h: the 3D view window,
template 149, with its hidden exit button and the picture control the
OpenGL view fills. Places are in dialog units, scaled to pixels here."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from dialoggen import Dialog  # noqa: E402

dlg = Dialog('CMs3dDlg', 149, '3D显示', (711, 316), ids_namespace='Ms3dIds',
             generator='scripts/gen-ms3d-ui.py')
# The exit button keeps the OK identity but is never shown: the window
# closes with Escape or its close box.
dlg.add(1, 'B', 'exitButton', '退出', (654, 296, 50, 14), visible=False)
# The picture control the scene renders into; the view is placed inside it.
dlg.add(1145, 'H', 'pictureHost', '', (7, 15, 697, 294))

root = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src', 'view3d')
dlg.write(sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'CMs3dDlg.ui'),
          sys.argv[2] if len(sys.argv) > 2 else os.path.join(root, 'Ms3dDlgIds.h'))
