#pragma once

class mdiMain;

// Times the contacts list on the open book, with the card open beside it:
// list_open, the slowest keystroke of a four-letter search (list_key: the
// longest the window waits on it; list_key_all: until every row was looked
// at) and a click on a heading (list_sort); list_index_kb is what the list
// holds of its own, in kilobytes.
void contactsListBench(mdiMain& main);
