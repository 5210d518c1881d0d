const
  StawkaObnizona = 8;

function Netto(brutto: Extended): Extended;
begin
  Result := brutto / 1.23
end;

begin
end.
