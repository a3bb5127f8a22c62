#!/bin/sh
# The desktop menu's entry: the configuration directory is $CNF27310 when the
# user has one, else the installed sample configuration (read-only: Save As
# puts changes elsewhere).
here=$(dirname "$(readlink -f "$0")")
: "${CNF27310:=$here/../../share/qvi-configurator/samples/config}"
export CNF27310
exec "$here/qvconfig" "$@"
