<%@ CodePage=936 %>
<!-- #include file="not_here.asp" -->
<html><body><% Response.Write "x" %></body></html>
