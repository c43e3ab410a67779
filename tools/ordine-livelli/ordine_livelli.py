#!/usr/bin/env python3
"""Fails when an #include in src/ goes against the order of the layers.

A file may include headers of its own folder and of any lower layer; never a
higher layer nor a sibling on the same row. Widget folders (<layer>/ui) sit above
every computation layer and keep the same order among themselves: a ui folder may
include its own layer, the computation layers below it and the ui folders of
lower layers; what it needs from a higher layer comes through an interface the
higher layer implements. With
--widgets DIR (the QtWidgets header folder) a computation file that includes a
widget header fails too.

Usage: ordine_livelli.py SRC_DIR [--widgets DIR]
       ordine_livelli.py --autoverifica
"""

import argparse
import os
import re
import sys
import tempfile

# Computation layers, lowest first; folders on one row are siblings. A new layer
# is one more row in its place.
LIVELLI = [
    ("platform",),
    ("chart",),
    ("archive",),
    ("market",),
    ("cycle",),
    ("indicators", "drawing"),
    ("shell",),
]

# Files at the top of src/: the whole session state sits with the shell, the
# program above everything.
FILE_RADICE = {
    "Stato.h": "shell",
    "main.cpp": "programma",
}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')


def riga_di(cartella):
    for indice, fratelli in enumerate(LIVELLI):
        if cartella in fratelli:
            return indice
    return None


def posto(relativo):
    """(rank, group) of a path under src/, or None when no layer owns it.

    Files of one group may include one another; otherwise only a lower rank."""
    parti = relativo.split("/")
    if len(parti) == 1:
        cartella = FILE_RADICE.get(parti[0])
        if cartella == "programma":
            return (2 * len(LIVELLI), "programma")
        return None if cartella is None else (riga_di(cartella), cartella)
    riga = riga_di(parti[0])
    if riga is None:
        return None
    if len(parti) >= 3 and parti[1] == "ui":
        return (len(LIVELLI) + riga, parti[0] + "/ui")
    return (riga, parti[0])


def generato(nome):
    base = nome.split("/")[-1]
    return base.endswith(".moc") or base.startswith(("moc_", "ui_"))


def controlla_riga(src, relativo, riga, widget):
    """The complaint about one source line, or None."""
    m = INCLUDE.match(riga)
    if not m:
        return None
    sorgente = posto(relativo)
    tipo, incluso = m.groups()
    if tipo == "<":
        calcolo = sorgente[1] != "programma" and not sorgente[1].endswith("/ui")
        if calcolo and (incluso.startswith("QtWidgets/") or incluso.split("/")[-1] in widget):
            return f"widget header <{incluso}> in computation"
        return None
    if generato(incluso):
        return None
    vicino = os.path.normpath(os.path.join(os.path.dirname(relativo), incluso)).replace(os.sep, "/")
    if os.path.isfile(os.path.join(src, vicino)):
        incluso = vicino
    destinazione = posto(incluso)
    if destinazione is None:
        return f'"{incluso}" is in no layer'
    if destinazione[1] != sorgente[1] and destinazione[0] >= sorgente[0]:
        return f'"{incluso}" ({destinazione[1]}) is not below {sorgente[1]}'
    if sorgente[1].endswith("/ui") and not destinazione[1].endswith("/ui"):
        strato = sorgente[1][: -len("/ui")]
        if destinazione[1] != strato and destinazione[0] >= riga_di(strato):
            return f'"{incluso}" ({destinazione[1]}) is not {strato} nor below it'
    return None


def controlla(src, widget):
    errori = []
    for radice, cartelle, files in os.walk(src):
        cartelle.sort()
        for nome in sorted(files):
            if not nome.endswith((".h", ".cpp")):
                continue
            relativo = os.path.relpath(os.path.join(radice, nome), src).replace(os.sep, "/")
            if posto(relativo) is None:
                errori.append(f"{relativo}: no layer owns this file (see LIVELLI)")
                continue
            with open(os.path.join(radice, nome), encoding="utf-8") as f:
                for numero, riga in enumerate(f, 1):
                    errore = controlla_riga(src, relativo, riga, widget)
                    if errore:
                        errori.append(f"{relativo}:{numero}: {errore}")
    return errori


def intestazioni_widget(cartella):
    return set(os.listdir(cartella)) if cartella and os.path.isdir(cartella) else set()


# The rules on small made-up trees: (file, include line, accepted).
CASI = [
    ("cycle/A.cpp", '#include "market/B.h"', True),
    ("cycle/A.cpp", '#include "cycle/B.h"', True),
    ("cycle/A.cpp", '#include "B.h"', True),
    ("market/A.cpp", '#include "cycle/B.h"', False),
    ("drawing/A.cpp", '#include "indicators/B.h"', False),
    ("indicators/A.h", '#include "drawing/B.h"', False),
    ("shell/A.cpp", '#include "drawing/B.h"', True),
    ("archive/A.cpp", '#include "Stato.h"', False),
    ("shell/A.cpp", '#include "Stato.h"', True),
    ("Stato.h", '#include "shell/B.h"', True),
    ("shell/A.cpp", '#include "shell/ui/B.h"', False),
    ("platform/A.cpp", '#include "platform/ui/B.h"', False),
    ("chart/A.cpp", '#include "platform/B.h"', True),
    ("chart/A.cpp", '#include "archive/B.h"', False),
    ("platform/A.h", '#include "chart/B.h"', False),
    ("cycle/A.h", '#include "chart/B.h"', True),
    ("chart/ui/A.cpp", '#include "chart/B.h"', True),
    ("chart/ui/A.cpp", '#include "platform/ui/B.h"', True),
    ("chart/ui/A.cpp", '#include "drawing/ui/B.h"', False),
    ("shell/ui/A.cpp", '#include "chart/ui/B.h"', True),
    ("drawing/ui/A.cpp", '#include "shell/B.h"', False),
    ("drawing/ui/A.cpp", '#include "Stato.h"', False),
    ("drawing/ui/A.cpp", '#include "drawing/B.h"', True),
    ("drawing/ui/A.cpp", '#include "cycle/B.h"', True),
    ("drawing/ui/A.cpp", '#include "indicators/B.h"', False),
    ("indicators/ui/A.cpp", '#include "drawing/B.h"', False),
    ("chart/ui/A.cpp", '#include "archive/B.h"', False),
    ("shell/ui/A.cpp", '#include "shell/B.h"', True),
    ("shell/ui/A.cpp", '#include "Stato.h"', True),
    ("shell/ui/A.cpp", '#include "market/B.h"', True),
    ("drawing/ui/A.cpp", '#include "platform/ui/B.h"', True),
    ("drawing/ui/A.cpp", '#include "shell/ui/B.h"', False),
    ("drawing/ui/A.cpp", '#include "indicators/ui/B.h"', False),
    ("shell/ui/A.cpp", '#include "drawing/ui/B.h"', True),
    ("main.cpp", '#include "shell/ui/B.h"', True),
    ("cycle/A.cpp", "#include <QWidget>", False),
    ("cycle/A.cpp", "#include <QtWidgets/QLabel>", False),
    ("cycle/A.cpp", "#include <QString>", True),
    ("cycle/ui/A.cpp", "#include <QWidget>", True),
    ("shell/ui/A.cpp", '#include "A.moc"', True),
    ("cycle/A.cpp", '#include "sconosciuto/B.h"', False),
    ("sconosciuto/A.cpp", '#include "platform/B.h"', False),
]


def autoverifica():
    sbagliati = []
    for relativo, riga, accettato in CASI:
        with tempfile.TemporaryDirectory() as src:
            percorso = os.path.join(src, relativo)
            os.makedirs(os.path.dirname(percorso), exist_ok=True)
            with open(percorso, "w", encoding="utf-8") as f:
                f.write(riga + "\n")
            # The included header exists too: a bare name beside the file, unless
            # it is one of the files at the top of src/.
            m = INCLUDE.match(riga)
            if m.group(1) == '"' and not generato(m.group(2)):
                incluso = m.group(2)
                if "/" not in incluso and incluso not in FILE_RADICE:
                    incluso = os.path.join(os.path.dirname(relativo), incluso)
                os.makedirs(os.path.join(src, os.path.dirname(incluso)), exist_ok=True)
                open(os.path.join(src, incluso), "w", encoding="utf-8").close()
            errori = controlla(src, {"QWidget"})
        if (not errori) != accettato:
            sbagliati.append(f"{relativo}: {riga}: expected {'accepted' if accettato else 'refused'}, got {errori}")
    for s in sbagliati:
        print(s)
    print(f"{len(CASI) - len(sbagliati)}/{len(CASI)} cases as expected")
    return 1 if sbagliati else 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("src", nargs="?")
    parser.add_argument("--widgets", default="")
    parser.add_argument("--autoverifica", action="store_true")
    args = parser.parse_args()
    if args.autoverifica:
        return autoverifica()
    if not args.src:
        parser.error("SRC_DIR is required")
    errori = controlla(args.src, intestazioni_widget(args.widgets))
    for e in errori:
        print(e)
    if errori:
        print(f"{len(errori)} include lines against the order of the layers (tools/ordine-livelli)")
        return 1
    print("every include follows the order of the layers")
    return 0


if __name__ == "__main__":
    sys.exit(main())
