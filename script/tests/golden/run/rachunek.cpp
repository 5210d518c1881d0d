// Rachunek Piekarni KÅos: lines, VAT, totals and the thousands word
#define Stawka 8
int ilosci[5];
float ceny[5];
int i, sztuk = 0;
float netto, vat;
String opis;

String tysiace(int n) {
  int j = n % 10;
  switch (j) {
    case 1: return "tysiąc";
    case 2..4: return "tysiące";
  }
  return "tysięcy";
}

int silnia(int n) { if (n <= 1) return 1; return n * silnia(n - 1); }

void dodaj(float &suma, float kwota) { suma = suma + kwota; }

{
  ilosci[1] = 12; ilosci[2] = 3; ilosci[3] = 40; ilosci[4] = 1;
  ceny[1] = 4.5; ceny[2] = 18; ceny[3] = 0.75; ceny[4] = 120;
  netto = 0;
  for (i = 1; i <= 4; i++) {
    if (ilosci[i] == 1) continue;
    dodaj(netto, ilosci[i] * ceny[i]);
    sztuk = sztuk + ilosci[i];
  }
  vat = netto * Stawka / 100;
  ShowMessage(netto);
  ShowMessage(vat);
  ShowMessage(sztuk);
  for (i = 1; i <= 5; i++) ShowMessage(tysiace(i));
  ShowMessage(silnia(6));
  opis = "Chleb";
  opis[1] = "c";
  ShowMessage(opis + " x" + "2");
  try { sztuk = sztuk % (sztuk - sztuk); } except { ShowMessage(ExceptionMessage); }
  i = 0;
  do { i = i + 7; } while (i <= 30);
  ShowMessage(i);
  ShowMessage((netto > 100) && (sztuk in [50..60]));
}
