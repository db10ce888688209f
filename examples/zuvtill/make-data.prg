* Makes the example data directory: run by make-data inside dane/.
* One sales document (a receipt of three goods and a returnable bottle),
* the stock records with PLU numbers and fiscal names, VAT rates, the
* fiscal designations of the rates and the fiscal dictionaries.

DBCREATE("naglowek", {{"przeds", "C", 2}, {"zaklad", "C", 2}, {"odnosnik", "C", 10}, ;
  {"dokument", "C", 3}, {"nr_dowodu", "C", 15}, {"data", "D", 8}, {"od_brutta", "L", 1}, ;
  {"nip_parag", "C", 13}, {"kodurzfisk", "C", 6}})
DBUSEAREA(.T., , "naglowek")
DBAPPEND()
naglowek->przeds := "01" ; naglowek->zaklad := "01" ; naglowek->odnosnik := "PA00000417"
naglowek->dokument := "PAR" ; naglowek->nr_dowodu := "PAR/417/2026" ; naglowek->data := STOD("20261209")
naglowek->od_brutta := .T. ; naglowek->nip_parag := "525-000-00-00" ; naglowek->kodurzfisk := "  1  1"
DBAPPEND()
naglowek->przeds := "01" ; naglowek->zaklad := "01" ; naglowek->odnosnik := "FV00000051"
naglowek->dokument := "FV" ; naglowek->nr_dowodu := "FV/51/2026" ; naglowek->data := STOD("20261209")
naglowek->od_brutta := .F. ; naglowek->kodurzfisk := "  1  1"

DBCREATE("pozycje", {{"przeds", "C", 2}, {"zaklad", "C", 2}, {"odnosnik", "C", 10}, ;
  {"nr_poz", "C", 5}, {"material", "C", 10}, {"magazyn", "N", 3}, {"vat_symbol", "C", 4}, ;
  {"cena_pobon", "N", 12, 2}, {"il_analit", "N", 12, 3}, {"ilosc", "N", 12, 3}, ;
  {"nr_poz_gl", "C", 5}, {"grupa", "C", 1}, {"cena_sp", "N", 12, 2}})
DBUSEAREA(.T., , "pozycje")
DBAPPEND()
pozycje->przeds := "01" ; pozycje->zaklad := "01" ; pozycje->odnosnik := "PA00000417"
pozycje->nr_poz := STR(1, 5) ; pozycje->material := "CHL-001" ; pozycje->magazyn := 1
pozycje->vat_symbol := "5" ; pozycje->cena_pobon := 3.49 ; pozycje->il_analit := -2 ; pozycje->ilosc := 2
pozycje->nr_poz_gl := STR(0, 5) ; pozycje->grupa := "t" ; pozycje->cena_sp := 3.49
DBAPPEND()
pozycje->przeds := "01" ; pozycje->zaklad := "01" ; pozycje->odnosnik := "PA00000417"
pozycje->nr_poz := STR(2, 5) ; pozycje->material := "MLK-032" ; pozycje->magazyn := 1
pozycje->vat_symbol := "5" ; pozycje->cena_pobon := 4.19 ; pozycje->il_analit := -1.5 ; pozycje->ilosc := 1.5
pozycje->nr_poz_gl := STR(0, 5) ; pozycje->grupa := "t" ; pozycje->cena_sp := 4.19
DBAPPEND()
pozycje->przeds := "01" ; pozycje->zaklad := "01" ; pozycje->odnosnik := "PA00000417"
pozycje->nr_poz := STR(3, 5) ; pozycje->material := "PIW-050" ; pozycje->magazyn := 1
pozycje->vat_symbol := "23" ; pozycje->cena_pobon := 5.99 ; pozycje->il_analit := -1 ; pozycje->ilosc := 1
pozycje->nr_poz_gl := STR(0, 5) ; pozycje->grupa := "t" ; pozycje->cena_sp := 5.99
DBAPPEND()
pozycje->przeds := "01" ; pozycje->zaklad := "01" ; pozycje->odnosnik := "PA00000417"
pozycje->nr_poz := STR(0, 5) ; pozycje->material := "BUT-050" ; pozycje->magazyn := 1
pozycje->vat_symbol := "ZW" ; pozycje->cena_pobon := 0.50 ; pozycje->il_analit := 1 ; pozycje->ilosc := 1
pozycje->nr_poz_gl := STR(0, 5) ; pozycje->grupa := "o" ; pozycje->cena_sp := 0.50

DBCREATE("stan_mag", {{"przeds", "C", 2}, {"zaklad", "C", 2}, {"typ", "C", 2}, ;
  {"material", "C", 10}, {"magazyn", "N", 3}, {"plu", "C", 6}, {"nazwa_fis", "C", 40}, ;
  {"jm", "C", 3}, {"grupa", "C", 1}})
DBUSEAREA(.T., , "stan_mag")
DBAPPEND()
stan_mag->przeds := "01" ; stan_mag->zaklad := "01" ; stan_mag->typ := "11" ; stan_mag->material := "CHL-001"
stan_mag->magazyn := 1 ; stan_mag->plu := "15" ; stan_mag->nazwa_fis := "Chleb żytni krojony 500g"
stan_mag->jm := "01" ; stan_mag->grupa := "t"
DBAPPEND()
stan_mag->przeds := "01" ; stan_mag->zaklad := "01" ; stan_mag->typ := "11" ; stan_mag->material := "MLK-032"
stan_mag->magazyn := 1 ; stan_mag->plu := "16" ; stan_mag->nazwa_fis := "Mleko świeże 3,2% luz"
stan_mag->jm := "02" ; stan_mag->grupa := "t"
DBAPPEND()
stan_mag->przeds := "01" ; stan_mag->zaklad := "01" ; stan_mag->typ := "11" ; stan_mag->material := "PIW-050"
stan_mag->magazyn := 1 ; stan_mag->plu := "230" ; stan_mag->nazwa_fis := "Piwo jasne pełne 0,5l"
stan_mag->jm := "01" ; stan_mag->grupa := "t"
DBAPPEND()
stan_mag->przeds := "01" ; stan_mag->zaklad := "01" ; stan_mag->typ := "11" ; stan_mag->material := "BUT-050"
stan_mag->magazyn := 1 ; stan_mag->plu := "900" ; stan_mag->nazwa_fis := "Butelka zwrotna 0,5l"
stan_mag->jm := "01" ; stan_mag->grupa := "o"

DBCREATE("dokument", {{"przeds", "C", 2}, {"zaklad", "C", 2}, {"dokument", "C", 3}, {"fiskalny", "C", 1}})
DBUSEAREA(.T., , "dokument")
DBAPPEND()
dokument->przeds := "01" ; dokument->zaklad := "01" ; dokument->dokument := "PAR" ; dokument->fiskalny := "1"
DBAPPEND()
dokument->przeds := "01" ; dokument->zaklad := "01" ; dokument->dokument := "FV" ; dokument->fiskalny := "0"

DBCREATE("fisk_slo", {{"kodslo", "C", 10}, {"maxplu", "N", 6}, {"maxnazwa", "N", 3}})
DBUSEAREA(.T., , "fisk_slo")
DBAPPEND() ; fisk_slo->kodslo := "  1  1FP6" ; fisk_slo->maxplu := 4000 ; fisk_slo->maxnazwa := 28
DBAPPEND() ; fisk_slo->kodslo := "  2  7" ; fisk_slo->maxplu := 2000 ; fisk_slo->maxnazwa := 40
DBAPPEND() ; fisk_slo->kodslo := "  2  8" ; fisk_slo->maxplu := 2300 ; fisk_slo->maxnazwa := 18

DBCREATE("fisk_urz", {{"przeds", "C", 2}, {"zaklad", "C", 2}, {"kodurz", "C", 6}, {"model", "C", 5}, ;
  {"maxplu", "N", 6}, {"maxnazwa", "N", 3}, {"maxnazopak", "N", 3}, {"rodz_wybie", "C", 1}, {"ret", "N", 1}})
DBUSEAREA(.T., , "fisk_urz")
DBAPPEND()
fisk_urz->przeds := "01" ; fisk_urz->zaklad := "01" ; fisk_urz->kodurz := "  2  7" ; fisk_urz->model := "neo"
fisk_urz->maxplu := 100000 ; fisk_urz->maxnazwa := 40 ; fisk_urz->maxnazopak := 20 ; fisk_urz->rodz_wybie := ","
fisk_urz->ret := 1

DBCREATE("vat", {{"symbol", "C", 4}, {"procent", "N", 6, 2}})
DBUSEAREA(.T., , "vat")
DBAPPEND() ; vat->symbol := "23" ; vat->procent := 23
DBAPPEND() ; vat->symbol := "8" ; vat->procent := 8
DBAPPEND() ; vat->symbol := "5" ; vat->procent := 5
DBAPPEND() ; vat->symbol := "0" ; vat->procent := 0
DBAPPEND() ; vat->symbol := "ZW" ; vat->procent := 0

DBCREATE("fiski", {{"nr_urz", "N", 3}, {"symbol", "C", 4}, {"oznacz", "C", 3}})
DBUSEAREA(.T., , "fiski")
DBAPPEND() ; fiski->nr_urz := 1 ; fiski->symbol := "23" ; fiski->oznacz := "A"
DBAPPEND() ; fiski->nr_urz := 1 ; fiski->symbol := "8" ; fiski->oznacz := "B"
DBAPPEND() ; fiski->nr_urz := 1 ; fiski->symbol := "5" ; fiski->oznacz := "C"
DBAPPEND() ; fiski->nr_urz := 1 ; fiski->symbol := "0" ; fiski->oznacz := "D"
DBAPPEND() ; fiski->nr_urz := 1 ; fiski->symbol := "ZW" ; fiski->oznacz := "G"
DBAPPEND() ; fiski->nr_urz := 7 ; fiski->symbol := "23" ; fiski->oznacz := "A"

DBCREATE("jm", {{"kod", "C", 3}, {"nazwa", "C", 10}})
DBUSEAREA(.T., , "jm")
DBAPPEND() ; jm->kod := "01" ; jm->nazwa := "szt."
DBAPPEND() ; jm->kod := "02" ; jm->nazwa := "l"
