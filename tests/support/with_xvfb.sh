#!/usr/bin/env bash
# Runs a command on a private Xvfb display, started as the end-to-end tests
# start theirs: with_xvfb.sh COMMAND [ARGS...]
source "$(dirname "$0")/../e2e/lib.sh" "" ""
start_x
"$@"
