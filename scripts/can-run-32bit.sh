#!/bin/sh
# Succeeds when this machine can run 32-bit x86 programs (Wine's 32-bit
# loader); kernels booted without IA-32 emulation cannot.
/usr/lib/wine/wine --version >/dev/null 2>&1
