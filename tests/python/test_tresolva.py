"""The Python module against tresolva-batch: the same numbers, as float64
bits, from two settings files; the same refusals, raised; the same results
from several threads at once."""
import json
import os
import signal
import subprocess
import sys
import threading
import time
from concurrent.futures import ThreadPoolExecutor

import numpy as np
import pytest

import tresolva

BATCH = os.environ["TRESOLVA_BATCH"]
DOCS = os.path.join(os.environ["TRESOLVA_SOURCE_DIR"], "docs")
FILES = [os.path.join(DOCS, name) for name in ("roessler.toml", "twin.toml")]
QUICK = {"transient": 10.0, "time": 200.0}


def batch(*args, refused=False):
    """tresolva-batch's standard output, or where it refuses, its line of refusal without its name."""
    done = subprocess.run([BATCH, *args], capture_output=True, text=True)
    assert (done.returncode != 0) == refused, (args, done.stderr)
    return done.stderr.strip().removeprefix("tresolva-batch: ") if refused else done.stdout


def same_bits(a, b):
    return a.shape == b.shape and np.array_equal(a.view(np.uint64), b.view(np.uint64))


@pytest.mark.parametrize("path", FILES)
def test_arrays_are_the_exports_numbers_bit_for_bit(path, tmp_path):
    s = tresolva.Settings.read(path)
    for args, got in ((["export"], tresolva.trajectory(s)), (["export", "--maxima"], tresolva.maxima(s))):
        batch(*args, "-s", path, "-o", str(tmp_path / "out.csv"))
        want = np.loadtxt(tmp_path / "out.csv", delimiter=",", skiprows=1, ndmin=2)
        assert got.dtype == np.float64 and got.flags.c_contiguous
        assert same_bits(got, want), args


@pytest.mark.parametrize("path", FILES)
@pytest.mark.parametrize("method", ["lyapunov", "spectrum"])
def test_exponents_are_the_jsons_numbers(path, method):
    s = tresolva.Settings.read(path)
    options = ["--transient", "10", "--time", "200"] + (["--spectrum"] if method == "spectrum" else [])
    one = json.loads(batch("lyapunov", "-s", path, "--json", *options))
    many = json.loads(batch("lyapunov", "-s", path, "--json", "--repeat", "3", *options))
    run = getattr(tresolva, method)
    got = run(s, **QUICK)
    for key in ("exponents", "sum", "kaplan_yorke", "divergence", "settings", "method", "options"):
        assert got.get(key) == one.get(key), key
    runs = run(s, repeat=3, **QUICK)
    assert [r["exponents"] for r in runs] == [r["exponents"] for r in many["runs"]]


def test_settings_are_the_files_keys_and_refuse_as_the_file_does(tmp_path):
    s = tresolva.Settings()
    assert str(s) == batch("settings") and list(s) == s.keys() and "lorenz.ro" in s
    s["lorenz.ro"], s.playback, s.twin = 99.96, "static", True
    assert (s["lorenz.ro"], s["playback"], s.twin, s.dt) == (99.96, "static", True, 0.005)
    assert str(tresolva.Settings.parse(str(s))) == str(s)
    cases = [  # key, value as Python gives it, as the file writes it, the exception
        ("lorenz.ro", 99999.0, "99999.0", ValueError),
        ("playback", "sideways", '"sideways"', ValueError),
        ("twin", 1, "1", TypeError),
        ("lorenz.ro", "28", '"28"', TypeError),
        ("playback", 2.0, "2.0", TypeError),
    ]
    for key, value, text, exception in cases:
        (tmp_path / "bad.toml").write_text(f"{key} = {text}\n")  # lorenz.ro: a dotted key
        said = batch("lyapunov", "-s", str(tmp_path / "bad.toml"), refused=True)
        with pytest.raises(exception) as raised:
            s[key] = value
        assert str(raised.value) == key + ": " + said.split(": ", 2)[2], key
    with pytest.raises(KeyError):
        s["lorenz.rho"] = 28.0
    with pytest.raises(FileNotFoundError):
        tresolva.Settings.read(str(tmp_path / "none.toml"))


def test_runs_that_cannot_give_a_number_raise_the_command_lines_message(tmp_path):
    path = tmp_path / "coarse.toml"
    path.write_text("dt = 0.2\n")
    coarse = tresolva.Settings.read(str(path))
    cases = [  # options, settings file, the exception
        ({"tau": 300.0, "time": 200.0}, [], ValueError),
        ({"d0": 100.0}, [], ValueError),
        ({}, ["-s", str(path)], ArithmeticError),
    ]
    for options, settings, exception in cases:
        options = {**QUICK, **options}
        with pytest.raises(exception) as raised:
            tresolva.lyapunov(coarse if settings else tresolva.Settings(), **options)
        args = (f"--{k}={v}" for k, v in options.items())
        assert str(raised.value) == batch("lyapunov", *settings, *args, refused=True)
    with pytest.raises(ArithmeticError) as raised:
        tresolva.trajectory(coarse)
    assert str(raised.value) == batch("export", "-s", str(path), "-o", "-", refused=True)


def test_threads_at_once_give_what_one_after_another_gives():
    s = tresolva.Settings.read(FILES[0])
    # every instruction set this machine has, named, beside the widest: the
    # choice is the process's, and calls naming one take turns
    sets = batch("lyapunov", "--simd", "none", refused=True).split("instruction sets, ")[1].split(", ")
    c = np.linspace(3, 6, 40)

    def work(k):
        simd = sets[k % len(sets)] if k % 2 else "on"
        return (tresolva.spectrum(s, **QUICK)["exponents"], tresolva.trajectory(s),
                tresolva.bifurcation(s, "c", c, transient=20, time=150, simd=simd))

    alone = work(0)
    with ThreadPoolExecutor(4) as pool:
        for exponents, xyz, rows in pool.map(work, range(2 * len(sets))):
            assert exponents == alone[0] and same_bits(xyz, alone[1]) and same_bits(rows, alone[2])
    with pytest.raises(ValueError):
        tresolva.bifurcation(s, "c", c, threads=0)


@pytest.mark.parametrize("path, param, values", [  # values not evenly spaced
    (FILES[0], "c", np.geomspace(2.5, 6.0, 23)), (FILES[1], "ro", np.geomspace(20.0, 120.0, 23))])
def test_sweeps_are_the_command_lines_rows(path, param, values, tmp_path):
    s = tresolva.Settings.read(path)
    runs = [  # rows from Python; the command line's sweeps, one per value, merged
        (tresolva.bifurcation(s, param, values, transient=50, time=150),
         ["bifurcation", "--param", param, "--transient", "50", "--time", "150"]),
        (tresolva.lyapunov_sweep(s, param, values, spectrum=True, simd="off", transient=10, time=100),
         ["lyapunov", "--sweep", param, "--spectrum", "--transient", "10", "--time", "100"]),
    ]
    for got, args in runs:
        parts = []
        for v in values.astype(np.float32):
            batch(*args, "-s", path, "--from", repr(float(v)), "--to", repr(float(v)),
                  "--values", "1", "-o", str(tmp_path / "v.csv"))
            parts.append(np.genfromtxt(tmp_path / "v.csv", delimiter=",", skip_header=1, ndmin=2))
        want = np.concatenate(parts)
        assert np.array_equal(got[:, 0].astype(np.float32), want[:, 0].astype(np.float32)), args[0]
        assert same_bits(np.nan_to_num(got[:, 1:]), np.nan_to_num(want[:, 1:])), args[0]


def test_render_is_the_pngs_pixels(tmp_path):
    from PIL import Image

    s = tresolva.Settings.read(FILES[1])
    batch("render", "-s", FILES[1], "--size", "320x200", "--frame", "3", "-o", str(tmp_path / "r.png"))
    got = tresolva.render(s, width=320, height=200, frame=3)
    assert got.shape == (200, 320, 3) and got.dtype == np.uint8
    assert np.array_equal(got, np.asarray(Image.open(tmp_path / "r.png").convert("RGB")))


def test_ctrl_c_stops_a_long_sweep_with_keyboard_interrupt():
    s = tresolva.Settings.read(FILES[0])
    threading.Timer(0.5, os.kill, (os.getpid(), signal.SIGINT)).start()
    began = time.monotonic()
    with pytest.raises(KeyboardInterrupt):
        tresolva.bifurcation(s, "c", np.linspace(2, 6, 4000), time=100000)
    assert time.monotonic() - began < 2.5  # the signal after 0.5 s, the stop within 2


def test_the_example_draws_its_figure(tmp_path):
    subprocess.run([sys.executable, os.path.join(DOCS, "example.py"), str(tmp_path / "e.png")],
                   check=True, env={**os.environ, "MPLBACKEND": "Agg"})
    assert (tmp_path / "e.png").stat().st_size > 10000
