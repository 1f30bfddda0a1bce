# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers

# Puts the site together in ${site}: the page with the window written into
# it, the script, style, manifest and pictures beside it, and the service
# worker with the list of files to keep, in a cache named after them.
file(READ ${window} body)
file(READ ${source}/index.html.in page)
string(REPLACE "@WINDOW@" "${body}" page "${page}")
file(WRITE ${site}/index.html "${page}")
file(COPY ${source}/app.js ${source}/tarvelo.css ${source}/manifest.webmanifest ${assets}/clock-face.svg
          ${assets}/icon.svg DESTINATION ${site})

file(GLOB kept RELATIVE ${site} ${site}/*)
list(REMOVE_ITEM kept sw.js)
list(SORT kept)
set(contents "")
set(files "'./'")
foreach(name IN LISTS kept)
    file(SHA256 ${site}/${name} sum)
    string(APPEND contents "${sum}")
    string(APPEND files ", '${name}'")
endforeach()
string(SHA256 version "${contents}")
string(SUBSTRING ${version} 0 16 version)
file(READ ${source}/sw.js.in worker)
string(REPLACE "@VERSION@" "${version}" worker "${worker}")
string(REPLACE "@FILES@" "${files}" worker "${worker}")
file(WRITE ${site}/sw.js "${worker}")
