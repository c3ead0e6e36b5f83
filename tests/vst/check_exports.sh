#!/usr/bin/env bash
# Passes when the library's dynamic symbol table defines VSTPluginMain and nothing else.
set -euo pipefail
symbols=$(nm -D --defined-only "$1" | awk '{ print $NF }' | sort -u)
if [ "$symbols" != "VSTPluginMain" ]; then
    echo "exported symbols of $1 other than VSTPluginMain:"
    echo "$symbols" | grep -v '^VSTPluginMain$' | head -50
    exit 1
fi
echo "$1 exports only VSTPluginMain"
