#!/usr/bin/env python3
"""The launcher's calls into Windows, as Wine's relay trace shows them.

Runs the launcher of a build tree in small install trees with WINEDEBUG=+relay,
tracing only calls made from the launcher's own module, and checks which calls
it makes, with which arguments and in which order: the things a user cannot
see but an installer or a support engineer relies on (the directory is never
listed after an edition-folder hit, every handle is closed, the registry key
and access rights, the exact request to the shell).

Usage: call_trace_test.py BUILD_DIR
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
BUILD = os.path.abspath(sys.argv[1])
WINE64 = "/usr/lib/wine/wine64"
CALL = re.compile(r"^([0-9a-f]+):Call ([\w.]+)\((.*)\) ret=[0-9a-f]+$")
RET = re.compile(r"^([0-9a-f]+):Ret  ([\w.]+)\(\) retval=([0-9a-f]+) ret=[0-9a-f]+$")

failures = 0
passes = 0


def wine_env(extra=None):
    env = dict(os.environ)
    env.update({
        "WINEPREFIX": os.path.join(BUILD, "wineprefix"),
        "WINELOADER": WINE64,
        "WINEARCH": "win64",
        "WINEDEBUG": "-all",
    })
    env.update(extra or {})
    return env


def check(condition, what, got, expected):
    global failures, passes
    if condition:
        passes += 1
    else:
        failures += 1
        print(f"FAIL {what}: got {got}, expected {expected}")


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def trace_run(tree):
    """Runs the launcher in `tree`; returns (exit status, [(function, args, retval)]).

    Only the run itself counts: the calls of the thread that asks for the user's
    language, from that call on. Start-up code of the run-time (which seeds the
    stack guard through the crypto API) and the started game are left out."""
    launcher = os.path.join(tree, "TandrelLauncher.exe")
    shutil.copy(os.path.join(BUILD, "TandrelLauncher.exe"), launcher)
    report = os.path.join(tree, "report.txt")
    env = wine_env({"WINEDEBUG": "+relay", "LC_ALL": "en_US.UTF-8",
                    "TANDREL_GAME_REPORT": windows_path(report)})
    # No display: the error box of a run that finds nothing then fails at once
    # instead of waiting for a click. What it shows is checked elsewhere.
    env.pop("DISPLAY", None)
    # The trace goes through a file: a process Wine starts on the side may
    # outlive the launcher and would keep a pipe open.
    with tempfile.TemporaryFile() as trace:
        done = subprocess.run([WINE64, launcher], env=env, stderr=trace, stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, timeout=120)
        trace.seek(0)
        text = trace.read().decode("utf-8", "replace")
    calls = []
    thread = None
    for line in text.splitlines():
        m = CALL.match(line)
        if m:
            if thread is None and m.group(2).endswith(".GetUserDefaultLangID"):
                thread = m.group(1)
            if m.group(1) == thread:
                calls.append([m.group(2), m.group(3), None])
            continue
        m = RET.match(line)
        if m and m.group(1) == thread:
            for call in reversed(calls):
                if call[0] == m.group(2) and call[2] is None:
                    call[2] = int(m.group(3), 16)
                    break
    return done.returncode, calls


def names(calls):
    return [c[0].split(".", 1)[1] for c in calls]


def calls_to(calls, name):
    return [c for c in calls if c[0].endswith("." + name)]


def make_tree(game_folders=(), empty_folders=()):
    tree = tempfile.mkdtemp(prefix="trace-", dir=os.path.join(BUILD, "scratch"))
    for folder in game_folders:
        os.makedirs(os.path.join(tree, folder), exist_ok=True)
        shutil.copy(os.path.join(BUILD, "stand_in_game.exe"), os.path.join(tree, folder, "Tandrel.exe"))
    for folder in empty_folders:
        os.makedirs(os.path.join(tree, folder), exist_ok=True)
    return tree


def test_edition_hit_never_lists_the_directory():
    tree = make_tree(game_folders=["Tandrel EN", "Aaa"])
    status, calls = trace_run(tree)
    check(status == 0, "edition hit: exit status", status, 0)
    check(not calls_to(calls, "FindFirstFileW"), "edition hit: FindFirstFileW calls",
          len(calls_to(calls, "FindFirstFileW")), 0)
    probes = calls_to(calls, "GetFileAttributesW")
    expected = 'L"%s\\\\Tandrel EN\\\\Tandrel.exe"' % windows_path(tree).replace("\\", "\\\\")
    check(len(probes) == 1 and probes[0][1].endswith(expected), "edition hit: probes",
          [p[1] for p in probes], "one probe of " + expected)
    shell = calls_to(calls, "ShellExecuteW")
    # Owner null, verb null, the game, "" (not null) as parameters, its folder, SW_SHOWNORMAL.
    pattern = re.compile(r'^0+,0+,[0-9a-f]+ L"(.*)",[0-9a-f]+ L"",[0-9a-f]+ L"(.*)",0+1$')
    m = pattern.match(shell[0][1]) if len(shell) == 1 else None
    check(m is not None, "edition hit: ShellExecuteW arguments", [s[1] for s in shell],
          "one call (null, null, game, \"\", folder, 1)")
    if m:
        folder = windows_path(tree).replace("\\", "\\\\") + "\\\\Tandrel EN"
        check(m.group(1) == folder + "\\\\Tandrel.exe" and m.group(2) == folder,
              "edition hit: ShellExecuteW paths", m.groups(), folder)
    check(not calls_to(calls, "CoInitialize") and not calls_to(calls, "CoInitializeEx"),
          "edition hit: COM initialisation", "present", "absent")
    shutil.rmtree(tree)


def test_language_is_settled_before_the_file_system_is_touched():
    tree = make_tree(game_folders=["Tandrel EN"])
    _, calls = trace_run(tree)
    run = names(calls)
    order = [n for n in run if n in (
        "GetUserDefaultLangID", "RegOpenKeyExW", "GetModuleFileNameW", "GetFileAttributesW")][:4]
    check(order == ["GetUserDefaultLangID", "RegOpenKeyExW", "GetModuleFileNameW", "GetFileAttributesW"],
          "run order", order, "language, registry, own path, probe")
    opens = calls_to(calls, "RegOpenKeyExW")
    # HKEY_LOCAL_MACHINE, the key, options 0, KEY_READ without a view flag.
    check(len(opens) == 1 and re.match(r'^(ffffffff)?80000002,[0-9a-f]+ L"Software\\\\Kestrow\\\\Tandrel",0+,0*20019,',
                                       opens[0][1]) is not None,
          "registry open", [o[1] for o in opens], 'HKLM, "Software\\Kestrow\\Tandrel", 0, 0x20019')
    writes = [n for n in names(calls) if n.startswith("RegSet") or n.startswith("RegCreate") or n.startswith("RegDelete")]
    check(not writes, "registry writes", writes, "none")
    shutil.rmtree(tree)


def test_every_handle_is_closed():
    cases = [
        ("scan finds the game", dict(game_folders=["Zulu"], empty_folders=["Tandrel EN", "Alpha"])),
        ("scan finds nothing", dict(empty_folders=["Tandrel EN", "Alpha", "Beta"])),
    ]
    for what, layout in cases:
        tree = make_tree(**layout)
        _, calls = trace_run(tree)
        finds = [c for c in calls_to(calls, "FindFirstFileW") if c[2] not in (None, 0xFFFFFFFFFFFFFFFF)]
        closes = calls_to(calls, "FindClose")
        check(len(finds) == 1 and len(closes) == 1, what + ": FindFirstFileW/FindClose pairs",
              (len(finds), len(closes)), (1, 1))
        # The registry step ends before the launcher asks for its own path; what
        # the message box does with the registry later is the system's business.
        run = names(calls)
        registry_step = calls[:run.index("GetModuleFileNameW")] if "GetModuleFileNameW" in run else calls
        opened = [c for c in calls_to(registry_step, "RegOpenKeyExW") if c[2] == 0]
        closed = calls_to(registry_step, "RegCloseKey")
        check(len(closed) == len(opened), what + ": registry keys closed", len(closed), len(opened))
        pattern = calls_to(calls, "FindFirstFileW")
        check(pattern and pattern[0][1].split(",")[0].endswith('\\\\*.*"'), what + ": search pattern",
              pattern[0][1] if pattern else None, 'installDir\\*.*')
        shutil.rmtree(tree)


def main():
    os.makedirs(os.path.join(BUILD, "scratch"), exist_ok=True)
    # Trace only what the launcher's own module calls, not the run-time's or Wine's.
    subprocess.run([WINE64, "reg", "add", r"HKCU\Software\Wine\Debug", "/v", "RelayFromInclude",
                    "/d", "TandrelLauncher.exe", "/f"], env=wine_env(), check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run([WINE64, "reg", "delete", r"HKLM\Software\Kestrow\Tandrel", "/f"], env=wine_env(),
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for test in (test_edition_hit_never_lists_the_directory,
                 test_language_is_settled_before_the_file_system_is_touched,
                 test_every_handle_is_closed):
        test()
    print(f"{passes} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
