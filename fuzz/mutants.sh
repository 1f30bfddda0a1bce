#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers
#
# Plants one fault at a time in a copy of the trick, rebuilds the fuzz target
# and replays the committed seeds alone (no fuzzing): each fault must make
# the replay fail. Prints one line a fault and exits 1 if any was missed.
#
#   fuzz/mutants.sh            (needs clang, as the fuzz preset does)
set -eu
source=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp -r "$source/CMakeLists.txt" "$source/CMakePresets.json" "$source/trick" "$source/layout" "$source/fuzz" "$work"
mkdir -p "$work/tests" && cp -r "$source/tests/support" "$work/tests"
cmake -S "$work" -B "$work/build" -G Ninja -DTARVELO_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

missed=0
# file|perl substitution|what the fault does
while IFS='|' read -r file change what; do
    case "$file" in ''|'#'*) continue ;; esac
    cp "$source/$file" "$work/$file"
    perl -0pi -e "$change" "$work/$file"
    if cmp -s "$source/$file" "$work/$file"; then
        echo "NOT PLANTED  $what"; missed=1; continue
    fi
    cmake --build "$work/build" >/dev/null 2>&1 || { echo "NO BUILD     $what"; missed=1; cp "$source/$file" "$work/$file"; continue; }
    if "$work/build/fuzz/fuzz_trick" "$source"/fuzz/corpus/* >/dev/null 2>&1; then
        echo "MISSED       $what"; missed=1
    else
        echo "caught       $what"
    fi
    cp "$source/$file" "$work/$file"
done <<'FAULTS'
trick/marker_table.h|s/\{"13", 4, 7\}/{"13", 5, 7}/|row 13 lights the marker at 7 o'clock, the answer
trick/marker_table.h|s/\{"19", 10, 13\}/{"19", 10, 0}/|no answer at 19 taps
trick/marker_table.h|s/\{"1", 0, 0\}/{"1", 1, 0}/|row 1 lights another marker
trick/marker_table.h|s/\{"2", 5, 0\}/{"2", 6, 0}/|row 2 lights another marker
trick/marker_table.h|s/\{"3", 1, 0\}/{"3", 2, 0}/|row 3 lights another marker
trick/marker_table.h|s/\{"4", 6, 0\}/{"4", 7, 0}/|row 4 lights another marker
trick/marker_table.h|s/\{"5", 2, 0\}/{"5", 3, 0}/|row 5 lights another marker
trick/marker_table.h|s/\{"6", 7, 0\}/{"6", 8, 0}/|row 6 lights another marker
trick/marker_table.h|s/\{"7", 3, 1\}/{"7", 4, 1}/|row 7 lights another marker
trick/marker_table.h|s/\{"8", 8, 2\}/{"8", 9, 2}/|row 8 lights another marker
trick/marker_table.h|s/\{"9", 4, 3\}/{"9", 5, 3}/|row 9 lights another marker
trick/marker_table.h|s/\{"10", 9, 4\}/{"10", 10, 4}/|row 10 lights another marker
trick/marker_table.h|s/\{"11", 0, 5\}/{"11", 1, 5}/|row 11 lights another marker
trick/marker_table.h|s/\{"12", 10, 6\}/{"12", 11, 6}/|row 12 lights another marker
trick/marker_table.h|s/\{"14", 11, 8\}/{"14", 0, 8}/|row 14 lights another marker
trick/marker_table.h|s/\{"15", 5, 9\}/{"15", 6, 9}/|row 15 lights another marker
trick/marker_table.h|s/\{"16", 0, 10\}/{"16", 1, 10}/|row 16 lights another marker
trick/marker_table.h|s/\{"17", 7, 11\}/{"17", 8, 11}/|row 17 lights another marker
trick/marker_table.h|s/\{"18", 3, 12\}/{"18", 4, 12}/|row 18 lights another marker
trick/marker_table.h|s/\{"7", 3, 1\}/{"7", 3, 2}/|row 7 takes the wrong offset
trick/marker_table.h|s/\{"12", 10, 6\}/{"12", 10, 5}/|row 12 takes the wrong offset
trick/marker_table.h|s/\{"17", 7, 11\}/{"17", 7, 12}/|row 17 takes the wrong offset
trick/marker_table.h|s/\{"6", 7, 0\}/{"6", 7, 1}/|row 6 already writes an answer
trick/marker_table.h|s/\{"10", 9, 4\}/{"010", 9, 4}/|row 10 is keyed by another text
trick/handlers.cpp|s/\{"1", "2", "3", "4", "5", "6"\}/{"1", "2", "3", "4", "5", "6", "7"}/|Стоп after 7 taps shows ?
trick/handlers.cpp|s/\{"1", "2", "3", "4", "5", "6"\}/{"1", "2", "3", "4", "5"}/|Стоп after 6 taps shows no ?
trick/handlers.cpp|s/(void command2Click.*?)forms.setEnabled\(forms.element\(Name::Image1, 0\), false\);/$1/s|Стоп leaves the picture enabled
trick/handlers.cpp|s/(void command2Click.*?)forms.setVisible\(Text7, true\);/$1/s|Стоп leaves the answer hidden
trick/handlers.cpp|s/(void command2Click.*?)forms.setVisible\(Label1, true\);/$1/s|Стоп leaves its label hidden
trick/handlers.cpp|s/(void command2Click.*?)forms.setText\(Text1, kInitialCount\);/$1/s|Стоп keeps the count
trick/handlers.cpp|s/isEarlyStop\(countText\)/isEarlyStop(forms.text(Text1))/|Стоп reads the count after resetting it
trick/handlers.cpp|s/(void command2Click\(Forms& forms\)\n\{\n)(.*?\n)(.*?\n)/$1$3$2/s|Стоп reads the count after disabling the picture
trick/handlers.cpp|s/(void command3Click.*?)forms.setEnabled\(forms.element\(Name::Image1, 0\), true\);/$1/s|Загадать leaves the picture disabled
trick/handlers.cpp|s/(void command3Click.*?)forms.setText\(Text1, kInitialCount\);/$1/s|Загадать keeps the count
trick/handlers.cpp|s/(void command3Click.*?)forms.setText\(Text6, kBaseValue\);/$1/s|Загадать keeps the base value
trick/handlers.cpp|s/(void command3Click.*?)forms.setText\(Text7, ""\);/$1/s|Загадать keeps the answer
trick/handlers.cpp|s/(void command3Click.*?)forms.setVisible\(Text7, false\);/$1/s|Загадать leaves the answer shown
trick/handlers.cpp|s/(void command3Click.*?)forms.setVisible\(Label1, false\);/$1/s|Загадать leaves its label shown
trick/handlers.cpp|s/(void command3Click.*?)hideMarkers\(forms\);/$1/s|Загадать leaves the markers lit
trick/handlers.cpp|s/(void command3Click.*?)(forms.setText\(Text7, ""\);\n)(.*?\n)/$1$3$2/s|Загадать hides the answer before emptying it
trick/handlers.cpp|s/kBaseValue = "14"/kBaseValue = "15"/|Загадать sets another base value
trick/handlers.cpp|s/(void form1Load.*?)forms.setVisible\(Text6, false\);/$1/s|Load leaves the base value shown
trick/handlers.cpp|s/(void form1Load.*?)forms.setVisible\(Frame1, false\);/$1/s|Load leaves the rules shown
trick/handlers.cpp|s/(void form1Load.*?)forms.setVisible\(Label1, false\);/$1/s|Load leaves the label shown
trick/handlers.cpp|s/(void form1Load.*?)hideMarkers\(forms\);/$1/s|Load leaves the markers lit
trick/handlers.cpp|s/(void form1Load.*?)(forms.setVisible\(Text6, false\);\n)(.*?\n)/$1$3$2/s|Load hides the answer before the base value
trick/handlers.cpp|s/for \(int i = 0; i < kMarkerCount; \+\+i\)\n        forms.setVisible/for (int i = 1; i < kMarkerCount; ++i)\n        forms.setVisible/|hiding the markers skips marker 0
trick/handlers.cpp|s/counter <= \*n \+ 1/counter <= *n/|a tap makes one pass, not two
trick/handlers.cpp|s/kLastTapBeforeReveal = 19/kLastTapBeforeReveal = 18/|the nineteenth tap reveals
trick/handlers.cpp|s/"XXX"/"XX"/|a twentieth tap shows another text
trick/handlers.cpp|s/(A twentieth tap ends the round by itself.\n)(.*?\n)/$1/s|a twentieth tap leaves the label hidden
trick/handlers.cpp|s/(A twentieth tap ends the round by itself.\n.*?\n)(.*?\n)/$1/s|a twentieth tap leaves the answer hidden
trick/handlers.cpp|s/(A twentieth tap ends the round by itself.\n.*?\n.*?\n)(.*?\n)/$1/s|a twentieth tap leaves the picture enabled
trick/handlers.cpp|s/(if \(\*n == kLastTapBeforeReveal\) \{)/if (*n == kLastTapBeforeReveal \&\& counter > *n) {/|a twentieth tap reveals in its second pass only
trick/handlers.cpp|s/(forms.setText\(Text1, std::to_string\(counter\)\);\n)(.*?\n.*?\n.*?\n.*?\n.*?\n.*?\n.*?\n)/$2$1/s|a tap sets the count after revealing
trick/handlers.cpp|s/if \(row->offset != 0\)/if (row->offset > 1)/|the seventh tap writes no answer
trick/handlers.cpp|s/i == row->marker\)/i != row->marker)/|the count reaction lights all markers but one
trick/handlers.cpp|s/\n    forms.setText\(Text7, answer\);\n\}/\n    if (row != nullptr)\n        forms.setText(Text7, answer);\n}/|the count reaction writes no answer back for an unknown count
trick/handlers.cpp|s/if \(forms.text\(Text1\) == candidate.count\)/if (count == candidate.count)/; s/(const MarkerRow\* row = nullptr;)/const std::string count = forms.text(Text1);\n    $1/|the count reaction reads the count once
trick/handlers.cpp|s/const bool digitsOnly = .*?;/const bool digitsOnly = !text.empty();/|a base value with a minus sign converts
trick/handlers.cpp|s/if \(error == std::errc\(\) && end == last\)/if (end == last)/|a base value past 32 bits converts
trick/handlers.cpp|s/(void command4Click.*?)true/$1false/s|Правила hides the rules
trick/handlers.cpp|s/(void command5Click.*?)false/$1true/s|ОК shows the rules
trick/handlers.cpp|s/forms.unload\(\);//|Выход does not unload
FAULTS
exit $missed
