#define StawkaObnizona 8

float Netto(float brutto)
{
  return brutto / 1.23;
}

{
}
