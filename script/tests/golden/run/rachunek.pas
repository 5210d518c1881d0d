{ Rachunek Piekarni Kłos: lines, VAT, totals and the thousands word }
const
  Stawka = 8;
var
  ilosci: array[1..4] of Integer;
  ceny: array[1..4] of Extended;
  i, sztuk: Integer;
  netto, vat: Extended;
  opis: String;

function Tysiace(n: Integer): String;
var j: Integer;
begin
  j := n mod 10;
  case j of
    1: Result := 'tysiąc';
    2..4: Result := 'tysiące';
  else
    Result := 'tysięcy';
  end;
end;

function Silnia(n: Integer): Integer;
begin
  if n <= 1 then Result := 1 else Result := n * Silnia(n - 1)
end;

procedure Dodaj(var suma: Extended; kwota: Extended);
begin
  suma := suma + kwota
end;

begin
  ilosci[1] := 12; ilosci[2] := 3; ilosci[3] := 40; ilosci[4] := 1;
  ceny[1] := 4.5; ceny[2] := 18; ceny[3] := 0.75; ceny[4] := 120;
  netto := 0;
  for i := 1 to 4 do
  begin
    if ilosci[i] = 1 then continue;
    Dodaj(netto, ilosci[i] * ceny[i]);
    sztuk := sztuk + ilosci[i]
  end;
  vat := netto * Stawka / 100;
  ShowMessage(netto);
  ShowMessage(vat);
  ShowMessage(sztuk);
  for i := 1 to 5 do ShowMessage(Tysiace(i));
  ShowMessage(Silnia(6));
  opis := 'Chleb';
  opis[1] := 'c';
  ShowMessage(opis + ' x' + '2');
  try
    sztuk := sztuk div (sztuk - sztuk)
  except
    ShowMessage(ExceptionMessage)
  end;
  i := 0;
  repeat i := i + 7 until i > 30;
  ShowMessage(i);
  ShowMessage((netto > 100) and (sztuk in [50..60]))
end.
