#!/bin/sh
# The desktop menu's entry: the configuration directory is $CNF27310 when the
# user has one; else the user's own copy of the installed samples, made on
# the first start (the installed ones are read-only, and opening a text
# configuration writes its binary twin beside it).
here=$(dirname "$(readlink -f "$0")")
if [ -z "${CNF27310:-}" ]; then
    CNF27310=${XDG_DATA_HOME:-$HOME/.local/share}/qvi-configurator/config
    if [ ! -d "$CNF27310" ]; then
        mkdir -p "$(dirname "$CNF27310")" &&
            cp -r "$here/../../share/qvi-configurator/samples/config" "$CNF27310" &&
            chmod -R u+w "$CNF27310"
    fi
fi
export CNF27310
exec "$here/qvconfig" "$@"
