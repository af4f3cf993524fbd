"""The environment in which host-side scripts (end-to-end tests, benchmarks, screenshots)
reach the Windows programs that tools/wine-env.sh runs: its prefix and its display."""
import os
import subprocess

WINE = "/usr/lib/wine/wine"
WINE_ENV_SH = os.path.join(os.path.dirname(os.path.abspath(__file__)), "wine-env.sh")


def up(state):
    """Boots the prefix and starts the display of `state` if they are not running yet."""
    subprocess.run([WINE_ENV_SH, "--state", os.path.abspath(state), "up"], check=True)


def down(state):
    subprocess.run([WINE_ENV_SH, "--state", os.path.abspath(state), "down"], check=False)


def environment(state):
    """os.environ with the prefix and display of `state` (Wine wants an absolute prefix)."""
    state = os.path.abspath(state)
    env = dict(os.environ)
    env["WINEPREFIX"] = os.path.join(state, "prefix")
    env["WINEDEBUG"] = "-all"
    env["WINEDLLOVERRIDES"] = "mscoree,mshtml="
    display = os.path.join(state, "display")
    if os.path.exists(display):
        with open(display) as f:
            env["DISPLAY"] = f.read().strip()
    return env
