#!/usr/bin/env python3
"""The board of the running program as a screen reader reads it through AT-SPI.

atspi-board.sh starts the buses, the registry and the program, then this check. It finds the
program and its board, deals by Space on the deck, reads the places and cards by name and role,
and follows the keyboard cursor as the focused object. Exits 0 when all holds, 1 on a failure,
77 when the program never shows up on the accessibility bus (the stack does not work here).
"""

import re
import subprocess
import sys
import time

import pyatspi

TIMEOUT = 20
WORDS = re.compile(r"^(Ace|Two|Three|Four|Five|Six|Seven|Eight|Nine|Ten|Jack|Queen|King) of "
                   r"(Hearts|Diamonds|Clubs|Spades)$")


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def skip(message):
    print("SKIP: " + message, file=sys.stderr)
    sys.exit(77)


def poll(test, timeout=TIMEOUT):
    """The first true value test() gives within the time, or None."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        try:
            value = test()
            if value:
                return value
        except Exception:  # the tree changes under us while the program works
            pass
        time.sleep(0.1)
    return None


def expect(what, test, timeout=TIMEOUT):
    value = poll(test, timeout)
    if not value:
        fail(what)
    return value


def children(node):
    return [node.getChildAtIndex(i) for i in range(node.childCount)]


def names(node):
    return [child.name for child in children(node)]


def find(node, test, depth=0):
    if node is None or depth > 15:
        return None
    if test(node):
        return node
    for child in children(node):
        found = find(child, test, depth + 1)
        if found is not None:
            return found
    return None


def keys(*names_):
    # The title names the deal once one is on the table.
    window = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Tarnwell( - Deal [0-9]+)?$"],
                            capture_output=True, text=True).stdout.split()
    if not window:
        fail("no window \"Tarnwell\" to type into")
    subprocess.run(["xdotool", "windowfocus", "--sync", window[-1]], check=True)
    subprocess.run(["xdotool", "key", "--delay", "150", *names_], check=True)


def focused(node):
    return node.getState().contains(pyatspi.STATE_FOCUSED)


def main():
    def program():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "Tarnwell":
                return app
        return None

    app = poll(program)
    if app is None:
        skip("the program did not appear on the accessibility bus")

    board = expect("a board named \"Board\" in the program's window",
                   lambda: find(app, lambda n: n.name == "Board" and n.childCount == 12))
    # Before the first deal the deck lies on the first pocket.
    places = names(board)
    if places[0] != "Deck" or places[1:4] != ["Home 2: empty", "Home 3: empty", "Home 4: empty"]:
        fail("the pockets before a deal read %r" % places[:4])
    if places[4:] != ["Column %d: empty" % c for c in range(1, 9)]:
        fail("the columns before a deal read %r" % places[4:])
    pile_roles = {child.getRole() for child in children(board)}
    if pile_roles != {pyatspi.ROLE_LIST}:
        fail("the pockets and columns are not lists: %r" % pile_roles)

    # Space on the deck deals: the staircase, alternately face up and face down.
    keys("space")
    staircase = []
    for c in range(8):
        down = sum(1 for row in range(c + 3) if (c + row) % 2 == 1)
        staircase.append("Column %d: %d cards, %d face down" % (c + 1, c + 3, down))
    expect("the dealt columns read %r (they read %r)" % (staircase, names(board)[4:]),
           lambda: names(board)[4:] == staircase)
    first = board.getChildAtIndex(4)
    cards = names(first)
    if len(cards) != 3 or not WORDS.match(cards[0]) or cards[1] != "face-down card" or not WORDS.match(cards[2]):
        fail("the first column's cards read %r" % cards)
    if {card.getRole() for card in children(first)} != {pyatspi.ROLE_LIST_ITEM}:
        fail("the cards are not list items")

    # The keyboard cursor is the focused object: Right takes it to the first column's last card.
    keys("Right")
    last = first.getChildAtIndex(2)
    expect("the first column's last card focused after Right", lambda: focused(last))
    keys("Up")
    top = first.getChildAtIndex(0)
    expect("the first column's top card focused after Up", lambda: focused(top) and not focused(last))
    # Chosen with Space: selected; put down with Escape.
    keys("space")
    expect("the chosen card selected", lambda: top.getState().contains(pyatspi.STATE_SELECTED))
    keys("Escape")
    expect("the card put down again", lambda: not top.getState().contains(pyatspi.STATE_SELECTED))
    print("AT-SPI: the board reads %d places; the first column reads %r" % (len(places), cards))
    return 0


if __name__ == "__main__":
    sys.exit(main())
