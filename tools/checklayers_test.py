#!/usr/bin/env python3
"""Tests of checklayers.py on a small source tree of the program's shape."""

import contextlib
import io
import json
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import checklayers  # noqa: E402

# A tree where every dependency points down.
CLEAN = {
    "platform/CMakeLists.txt": "ostrel_library(platform Qt6::Core Qt6::Gui)\n",
    "platform/numbers.h": "#pragma once\n#include <QString>\n",
    "platform/ui/CMakeLists.txt": "ostrel_library(platformui ostrel_platform Qt6::Widgets)\n",
    "platform/ui/surface.h": '#include "platform/numbers.h"\n',
    "calibration/CMakeLists.txt": "ostrel_library(calibration ostrel_platform)\n",
    "calibration/maps.h": '#include "platform/numbers.h"\n',
    "calibration/maps.cpp": '#include "maps.h"\n',
    "link/CMakeLists.txt": "# the link\nostrel_library(link ostrel_calibration Qt6::SerialPort)\n",
    "link/eculink.h": '#include "calibration/maps.h"\n#include "../platform/numbers.h"\n',
    "gauge/CMakeLists.txt": "add_library(NoxGauge SHARED noxgauge.cpp noxgauge.h)\n"
                            "target_link_libraries(NoxGauge PRIVATE Qt6::Widgets)\n",
    "gauge/noxgauge.h": "#include <QWidget>\n",
    "gauge/gaugemath.h": '#include "gauge/noxgauge.h"\n',
    "livewindows/CMakeLists.txt": "ostrel_library(livewindows ostrel_link ostrel_platformui Qt6::Widgets)\n",
    "livewindows/livewindow.h": '#include "link/eculink.h"\n#include "platform/ui/surface.h"\n',
    "mapviews/CMakeLists.txt": "ostrel_library(mapviews ostrel_livewindows)\n",
    "mapviews/grid.h": '#include "livewindows/livewindow.h"\n',
    "editors/CMakeLists.txt": "ostrel_library(editors ostrel_livewindows)\n",
    "editors/editor.h": '#include "calibration/maps.h"\n',
    "logger/CMakeLists.txt": "ostrel_library(logger ostrel_link Qt6::Core)\n",
    "logger/samples.h": '#include "link/eculink.h"\n',
    "logger/ui/CMakeLists.txt": "ostrel_library(loggerui ostrel_logger ostrel_livewindows)\n",
    "logger/ui/frmlog.h": '#include "logger/samples.h"\n#include "livewindows/livewindow.h"\n',
    "shell/CMakeLists.txt": "ostrel_library(shell ostrel_mapviews ostrel_editors ostrel_loggerui NoxGauge Qt6::Widgets)\n",
    "shell/mainwindow.h": '#include "mapviews/grid.h"\n#include "editors/editor.h"\n#include "gauge/noxgauge.h"\n'
                          '#include "logger/ui/frmlog.h"\n',
    "app/CMakeLists.txt": "add_executable(ostrel main.cpp)\ntarget_link_libraries(ostrel PRIVATE ostrel_shell)\n",
    "app/main.cpp": '#include "shell/mainwindow.h"\n',
    "tests/shell/shell_test.cpp": '#include "shell/mainwindow.h"\n#include "gauge/gaugemath.h"\n',
    "tools/make.cpp": '#include "app/main.cpp"\n',
    "build/CMakeCache.txt": "",
    "build/generated/moc.cpp": '#include "shell/mainwindow.h"\n',
    "docs/architecture.md": "",
}


def faults(append=None, replace=None, compilecommands=None):
    """The faults checklayers finds in the clean tree with text appended to files or files replaced."""
    with tempfile.TemporaryDirectory() as root:
        files = dict(CLEAN)
        for path, text in (append or {}).items():
            files[path] = files.get(path, "") + text
        files.update(replace or {})
        for path, text in files.items():
            os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
            with open(os.path.join(root, path), "w", encoding="utf-8") as f:
                f.write(text)
        args = [root]
        if compilecommands is not None:
            commands = os.path.join(root, "build", "compile_commands.json")
            entries = [{"directory": os.path.join(root, "build"), "file": os.path.join(root, source), "command": cmd}
                       for source, cmd in compilecommands]
            with open(commands, "w", encoding="utf-8") as f:
                json.dump(entries, f)
            args += ["--compile-commands", commands]
        out = io.StringIO()
        with contextlib.redirect_stdout(out):
            status = checklayers.main(args)
        lines = out.getvalue().splitlines()
        return status, lines[:-1] if status else []


class CheckLayers(unittest.TestCase):
    def test_clean_tree_passes(self):
        self.assertEqual(faults({}), (0, []))

    def test_includes_that_point_the_wrong_way(self):
        cases = [
            # (file, appended line, words the one fault line must hold)
            ("calibration/maps.cpp", '#include "link/eculink.h"\n', "calibration/maps.cpp:2: calibration"),
            ("link/eculink.h", '#include "platform/ui/surface.h"\n', "link must not include platform/ui/"),
            ("platform/ui/surface.h", '#include "link/eculink.h"\n', "platform/ui must not include link/"),
            ("link/eculink.h", '#include "../shell/mainwindow.h"\n', "link must not include shell/mainwindow.h"),
            ("link/eculink.h", "#include <shell/mainwindow.h>\n", "link must not include shell/mainwindow.h"),
            ("mapviews/grid.h", '#include "editors/editor.h"\n', "mapviews must not include editors/"),
            ("mapviews/grid.h", '#include "logger/samples.h"\n', "mapviews must not include logger/"),
            ("logger/ui/frmlog.h", '#include "mapviews/grid.h"\n', "logger/ui must not include mapviews/"),
            ("logger/samples.h", '#include "livewindows/livewindow.h"\n', "logger must not include livewindows/"),
            ("gauge/noxgauge.h", '#include "platform/numbers.h"\n', "gauge must not include platform/"),
            ("shell/mainwindow.h", '#include "gauge/gaugemath.h"\n', "shell must not include gauge/gaugemath.h"),
            ("livewindows/livewindow.h", '#include "mapviews/grid.h"\n', "livewindows must not include mapviews/"),
            ("app/main.cpp", '#include "tests/shell/shell_test.cpp"\n', "app must not include tests/"),
        ]
        for path, line, words in cases:
            with self.subTest(path=path, line=line):
                status, found = faults({path: line})
                self.assertEqual(status, 1)
                self.assertEqual(len(found), 1, found)
                self.assertIn(words, found[0])

    def test_a_source_outside_every_layer_fails(self):
        status, found = faults({"graphs/graph.cpp": '#include "platform/numbers.h"\n'})
        self.assertEqual(status, 1)
        self.assertEqual(found, ["graphs/graph.cpp: the folder has no layer; give it one in tools/checklayers.py"])

    def test_link_lines_that_point_the_wrong_way(self):
        cases = [
            ("calibration/CMakeLists.txt", "target_link_libraries(ostrel_calibration PUBLIC ostrel_link)\n",
             "ostrel_calibration (calibration) must not link ostrel_link (link)"),
            ("link/CMakeLists.txt", "target_link_libraries(ostrel_link PRIVATE Qt6::Widgets)\n",
             "ostrel_link (link) must not link Qt6::Widgets"),
            ("platform/CMakeLists.txt", "target_link_libraries(ostrel_platform PUBLIC\n  Qt::Widgets)\n",
             "must not link Qt::Widgets"),
            ("mapviews/CMakeLists.txt", "target_link_libraries(ostrel_mapviews PUBLIC ostrel_editors)\n",
             "ostrel_mapviews (mapviews) must not link ostrel_editors (editors)"),
            ("gauge/CMakeLists.txt", "target_link_libraries(NoxGauge PRIVATE ostrel_platform)\n",
             "NoxGauge (gauge) must not link ostrel_platform"),
            ("shell/CMakeLists.txt", "target_link_libraries(ostrel_shell PRIVATE Qt6::Test)\n", "Qt6::Test"),
        ]
        for path, line, words in cases:
            with self.subTest(path=path, line=line):
                status, found = faults({path: line})
                self.assertEqual(status, 1)
                self.assertEqual(len(found), 1, found)
                self.assertIn(words, found[0])

    def test_an_include_the_link_line_does_not_reach_fails(self):
        status, found = faults(replace={"mapviews/CMakeLists.txt": "ostrel_library(mapviews Qt6::Widgets)\n"})
        self.assertEqual(status, 1)
        self.assertEqual(found, ["mapviews includes livewindows but its link line does not reach it"])

    def test_include_paths_of_the_build(self):
        widgets = "-isystem /usr/include/qt6/QtWidgets"
        cases = [
            ("calibration/maps.cpp", f"c++ -I/src {widgets} -c maps.cpp", ["Widgets"]),
            ("link/eculink.h", "c++ -I/usr/include/qt6/QtWidgets/ -c x.cpp", ["Widgets"]),
            ("calibration/maps.cpp", "c++ -DQT_WIDGETS_LIB -isystem /usr/include/qt6/QtSerialPort -c", ["SerialPort"]),
            ("mapviews/grid.h", f"c++ {widgets} -isystem /usr/include/qt6/QtSerialPort -c", []),
            ("logger/samples.h", f"c++ {widgets} -c", ["Widgets"]),
            ("logger/ui/frmlog.h", f"c++ {widgets} -c", []),
            ("tests/shell/shell_test.cpp", f"c++ {widgets} -isystem /usr/include/qt6/QtTest -c", []),
        ]
        for source, command, modules in cases:
            with self.subTest(source=source, command=command):
                status, found = faults(compilecommands=[(source, command)])
                self.assertEqual(status, 1 if modules else 0)
                self.assertEqual(len(found), len(modules), found)
                for line, module in zip(found, modules):
                    self.assertIn(f"{source}: compiled with the include path of Qt {module}", line)


if __name__ == "__main__":
    unittest.main()
