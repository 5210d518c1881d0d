program Faktura;
uses 'stawki.pas';
{ Faktura VAT: sums the items of the invoice and fills the summary memo }
const
  VatStawka = 23;
  Nazwa = 'Faktura VAT';
var
  i, n: Integer;
  suma, podatek: Extended;
  opis: String;
  pozycje: array[0..9] of Extended;
  tabela: array[3, 2] of Integer;
  ok: Boolean = True;

function Brutto(netto: Extended; var podatek: Extended; const stawka: Integer): Extended;
var
  x: Extended;
begin
  podatek := netto * stawka / 100;
  Result := netto + podatek
end;

procedure Zeruj;
begin
  suma := 0;
end;

begin
  Zeruj;
  n := <Dane."Ilosc">;
  for i := 0 to 9 do
    pozycje[i] := i * 1.5e2;
  for i := 9 downto 0 do
  begin
    if i mod 2 = 0 then continue else suma := suma - 1;
    suma := suma + pozycje[i];
    if suma > 1000 then break
  end;
  i := 0;
  while (i < n) and not ok do
    i := i + 1;
  repeat
    i := i - 1
  until i <= 0;
  case n of
    1, 2: opis := 'mało';
    3..5: opis := 'średnio'
  else
    opis := 'dużo'
  end;
  try
    suma := suma div 2 shl 1 shr 1 xor 3 or $FF;
  except
    opis := ExceptionMessage
  end;
  try
    ok := (n >= 1) and (n <> 7) or (opis is TObject) and (n in [1, 3..5]);
  finally
    exit
  end;
  with Report, Engine do
    Title := Nazwa + ' ' + opis;  (* the report title *)
  pozycje[0] := -suma;
  tabela[1, 1] := Brutto(suma, podatek, VatStawka);
  opis := #13#10'Razem: ' + 'Kontrahent''s';
  Engine.Fire(@Zeruj)
end.
