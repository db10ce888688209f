* Prints the sample receipt (document PA00000417 of examples/zuvtill/dane)
* through the fiscal printer's link program, then the day's deposit
* summary, as the host does at the till. scripts/print-receipt runs it in
* a host directory whose FISK holds the link-program simulator, under
* either family, and shows the paper roll.
PUBLIC p_przds := "01", p_zkld := "01", sp_ilosc := 3, wynik := .F.
modul := IIF(_DFSYMBOL() == "DF301", "DW", "CW")

// The printer is operated: its device start answers 0.
ZH_ANSWER(modul + "START", 0)
?? "Start:", FDSTART(NIL, 1, 9600, 5, 2)

// The document is current: its header, and its items on the first one.
DBSELECTAREA("naglowek") ; DBSEEK("0101PA00000417")
DBSELECTAREA("pozycje") ; DBSEEK("0101PA00000417" + STR(1, 5))

// The footer that the device module keeps for the document.
IIF(modul == "CW", ZH_ANSWER("CW_FOOTLINE", {{"1", "Dziękujemy za zakupy"}}), ;
                   ZH_ANSWER("DW_FOOTLINE", {"Dziękujemy za zakupy"}))
?? "Paragon:", WD_DRPARAG()

// The deposit summary of the fiscal printer's documents: the printers of
// the POSNET family only (elsewhere exchange error 1007 in the error log).
?? "Kaucje:", WD_DRKAUCJE("  1  1", "1", "Anna Nowak", STOD("20261209"))
?? "Błędy:", FILE("FISK\" + GETZUVERR())
