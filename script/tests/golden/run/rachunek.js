// Rachunek Piekarni Kłos: lines, VAT, totals and the thousands word
var ilosci[5], ceny[5];
var sztuk = 0, netto = 0, vat, opis;

function tysiace(n) {
  switch (n % 10) {
    case 1: return "tysiąc";
    case 2..4: return "tysiące";
    default: return "tysięcy";
  }
}

function silnia(n) { if (n <= 1) return 1; return n * silnia(n - 1); }

function dodaj(&suma, kwota) { suma = suma + kwota; }

ilosci[1] = 12; ilosci[2] = 3; ilosci[3] = 40; ilosci[4] = 1;
ceny[1] = 4.5; ceny[2] = 18; ceny[3] = 0.75; ceny[4] = 120;
for (var i = 1; i <= 4; i++) {
  if (ilosci[i] == 1) continue;
  dodaj(netto, ilosci[i] * ceny[i]);
  sztuk = sztuk + ilosci[i];
}
vat = netto * 8 / 100;
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
