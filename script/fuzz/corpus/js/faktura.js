import "stawki.js";
/* Faktura VAT: sums the items of the invoice and fills the summary memo */
var i, n = 0, suma = 0.0, podatek, opis;
var pozycje[10];
var ok = true;

function Brutto(netto, &podatek, stawka)
{
  podatek = netto * stawka / 100;
  return netto + podatek;
}

function Zeruj()
{
  suma = 0;
}

Zeruj();
n = <Dane."Ilosc">;
for (i = 0; i < 10; i++)
  pozycje[i] = i * 1.5e2;
for (i = 9; i >= 0; i--)
{
  if (i % 2 == 0) continue; else suma = suma - 1;
  suma += pozycje[i];
  if (suma > 1000) break;
}
i = 0;
while ((i < n) && !ok)
  i++;
do
{
  i -= 1;
} while (i > 0 && i <= 100);
switch (n)
{
  case 1, 2: opis = "mało";
  case 3..5: opis = "średnio";
  default: opis = "dużo";
}
try
{
  suma = suma div 2 << 1 >> 1 ^ 3 || 0xFF;
}
except
{
  opis = ExceptionMessage;
}
try
{
  ok = (n >= 1) && (n != 7) || (opis is TObject) && (n in [1, 3..5]);
}
finally
{
  return;
}
with (Report)
  Title = "Faktura VAT" + " " + opis; // the report title
pozycje[0] = -suma;
suma *= 2;
suma /= 4;
opis = "\r\nRazem: \x41\"";
delete obj;
obj = new TObject();
Engine.Fire(&Zeruj);
