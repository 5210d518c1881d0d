var StawkaObnizona = 8;

function Netto(brutto)
{
  return brutto / 1.23;
}
